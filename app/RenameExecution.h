#pragma once

#include "UndoStore.h"

#include <QString>

class RenameHost;
namespace lorvane {
class BatchRename;
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

    enum class Work { Rename, Restore };
    // The message listing the files the batch could not rename and why;
    // empty when every entry went through.
    [[nodiscard]] static QString failureMessage(const lorvane::BatchRename &batch, Work work);

private:
    void duplicateCheck();

    RenameHost &m_host;
    UndoStore m_undoNames;
};
