#pragma once

#include "QtPrinters.h"

#include "WaitFor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

class QAbstractItemView;
class UndoStore;
class QWidget;

// What the main window's widget tests share: a private settings folder, real
// folders with files, and answering the modal boxes the window opens.
namespace apptest {

// Points XDG_CONFIG_HOME at a fresh folder for the lifetime of the object and
// stores the start-up hint setting ("N" keeps the hint away; empty: no setting).
class PrivateSettings
{
public:
    explicit PrivateSettings(const QString &quary = QStringLiteral("N"));
    ~PrivateSettings();
    [[nodiscard]] QString quary() const; // "" when not stored
    void setQuary(const QString &value);

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld;
};

// Creates empty files (exact byte names) in `folder`.
void makeFiles(const QString &folder, const QList<QByteArray> &names);

// Each rename the undo record holds, as (name now, name before), in the order
// the renames were made.
using Renames = std::vector<std::pair<QByteArray, QByteArray>>;
Renames recordedRenames(const UndoStore &undo);

// The texts of a list view's rows, in order.
QStringList rows(const QAbstractItemView *view);

// Once the next modal dialog whose class inherits `className` is shown (within
// `timeoutMs`), `act` runs with it. Returns a flag that turns true when it ran.
std::shared_ptr<bool> whenModal(const char *className, std::function<void(QWidget *)> act,
                                int timeoutMs = 5000);

// Answers the next message box by clicking its button with this role text
// ("Yes", "No", "OK") and stores its text in *text when given.
std::shared_ptr<bool> answerMessageBox(int standardButton, QString *text = nullptr,
                                       QString *title = nullptr);

// Clicks an option button or check box on its indicator, the part that always
// takes the click (right-to-left: at the right end).
void clickIndicator(QWidget *button, Qt::MouseButton mouseButton = Qt::LeftButton);

using testsupport::waitFor;

// A stand-in for the desktop's opener, first in PATH while the object lives:
// records every argument it is given, one per line, and exits with `exitCode`.
class FakeOpener
{
public:
    explicit FakeOpener(int exitCode = 0);
    ~FakeOpener();
    [[nodiscard]] QStringList calls() const; // the arguments of each call

private:
    QTemporaryDir m_bin;
    QByteArray m_oldPath;
};

} // namespace apptest
