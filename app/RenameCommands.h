#pragma once

#include <QObject>

#include <memory>

class Form1;
class RenameExecution;
class UndoStore;

// The main window's execute and undo commands: the renaming and its undo of
// RenameExecution, bound to the controls of Form1. It lives as a child of the
// window and holds the undo store for the window's whole life.
class RenameCommands : public QObject
{
    Q_OBJECT

public:
    // The window's commands, made on first use.
    static RenameCommands &of(Form1 &window);

    void CmdDoNow_Click();
    void cmdUnRename_Click();
    [[nodiscard]] const UndoStore &UndoNames() const;

private:
    class Host;
    explicit RenameCommands(Form1 &window);
    ~RenameCommands() override;

    std::unique_ptr<Host> m_host;
    std::unique_ptr<RenameExecution> m_execution;
};
