#pragma once

#include "UndoStore.h"

#include <QString>

class RenameHost;
namespace lorvane {
class RenameJob;
}

// The execute button CmdDoNow and the undo button cmdUnRename: the renaming
// of the previewed names and the undo of the last one, with the undo store
// UndoNames. The file work goes through the batch rename service, which never
// replaces or loses a file; what could not be done is reported afterwards in
// one message.
class RenameExecution
{
public:
    explicit RenameExecution(RenameHost &host) : m_host(host) {}

    void CmdDoNow_Click();
    void cmdUnRename_Click();

    [[nodiscard]] const UndoStore &UndoNames() const { return m_undoNames; }

    // What a finished job could not do: a message that names the first
    // files, and every file, one line each, for the scrollable details.
    // Empty when every entry went through.
    struct Report
    {
        QString text;
        QString details;
    };
    [[nodiscard]] static Report failureReport(const lorvane::RenameJob &job);

private:
    void report(const lorvane::RenameJob &job);

    RenameHost &m_host;
    UndoStore m_undoNames;
};
