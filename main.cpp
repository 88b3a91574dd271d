// Lorvane: starts the main window on the folder given on the command line, or
// on the program's own folder.
#include "ArabicLanguage.h"
#include "CommandLine.h"
#include "FolderListModel.h"
#include "Form1.h"
#include "RenameRecovery.h"

#include <QApplication>
#include <QEvent>

namespace {

// For measuring start-up (LORVANE_QUIT_WHEN_SHOWN set): the program ends as
// soon as the window has been painted on screen for the first time.
class QuitWhenShown : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::Expose)
            QCoreApplication::exit(0);
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    // Before the application object: help, version and usage errors need no display.
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    if (commandLine.action() != CommandLine::Action::Run)
        return commandLine.report();

    // With no batch left unfinished nothing renames files before the window
    // lists its folder, so the listing can run while the application is built.
    if (lorvane::RenameJournal::leftBehind(lorvane::RenameJournal::defaultFolder()).isEmpty())
        FolderListModel::listAhead(commandLine.folder());

    QApplication app(argc, argv);
    useArabicLanguage(app);
    QApplication::setApplicationName(QStringLiteral("lorvane"));
    QApplication::setDesktopFileName(QStringLiteral("lorvane"));
    QApplication::setLayoutDirection(Qt::RightToLeft);

    // A batch rename cut short last time is dealt with before any folder is
    // listed, so that the window shows the files as they are now.
    RenameRecovery::offer(nullptr);
    Form1 window(commandLine.folder());

    QuitWhenShown quitWhenShown;
    if (qEnvironmentVariableIsSet("LORVANE_QUIT_WHEN_SHOWN"))
        window.installEventFilter(&quitWhenShown);
    return app.exec();
}
