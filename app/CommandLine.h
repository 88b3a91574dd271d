#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QString>

// The program's command line: `lorvane [FOLDER]`, --help and --version, read
// before any application object exists so that help and version work without
// a display. Qt's own options (-platform, -style, ...) are let through for the
// application object to take.
//
// FOLDER is taken by its exact bytes: it is decoded the way file names are
// (FileNameCodec), made absolute against the working folder and cleaned, and
// must name a folder. Texts are in Arabic when the locale is Arabic, in
// English otherwise; terminals lay out English more reliably.
class CommandLine
{
public:
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    // `arguments` as the system passed them, the program's name first.
    [[nodiscard]] static CommandLine parse(const QList<QByteArray> &arguments,
                                           QByteArrayView workingFolder,
                                           const QLocale &locale = QLocale::system());
    // The same for main()'s arguments and the process's working folder.
    [[nodiscard]] static CommandLine parse(int argc, char **argv);

    [[nodiscard]] Action action() const { return m_action; }
    // Run: the folder to start on in decoded form, or empty for the default.
    [[nodiscard]] QString folder() const { return m_folder; }
    // ShowHelp, ShowVersion: what goes to standard output. Fail: the message
    // for standard error.
    [[nodiscard]] QString text() const { return m_text; }
    // 0 after help or version, 2 after a usage error.
    [[nodiscard]] int exitStatus() const { return m_action == Action::Fail ? 2 : 0; }

    // Writes text() where it belongs and returns exitStatus(); for every
    // action but Run.
    int report() const;

private:
    CommandLine(Action action, QString folder, QString text);

    Action m_action;
    QString m_folder;
    QString m_text;
};
