#pragma once

#include <QString>

namespace lorvane {

class CmdButton;

// What the properties pane needs of the main window that holds it: the
// folder shown, the folder list File1 and its selection, the name-rules pane and the pane switch
// button, and the reload after a delete.
class PropertiesHost
{
public:
    virtual ~PropertiesHost() = default;

    // The folder shown: the one txtPath names and File1 lists. Every
    // operation of the pane acts on this one folder.
    virtual QString folder() const = 0;
    // The entry of File1 at its selected index; empty when none is selected.
    virtual QString file1SelectedEntry() const = 0;

    virtual void setFile1Enabled(bool enabled) = 0;
    virtual void setFile1ToolTip(const QString &tip) = 0;
    // Runs the Click of the exclusion check box chkKeepOffSomeFl, which sets
    // File1's enabled state for the name-rules pane.
    virtual void chkKeepOffSomeFl_Click() = 0;
    // Shows or hides the name-rules pane Fram.
    virtual void setFramVisible(bool visible) = 0;
    // The pane switch button; the pane sets its caption and position.
    virtual CmdButton *cmdTO() = 0;

    // After a delete: File1 re-reads its folder, then the window's load step
    // (Form_Load) runs, which also hides the properties pane.
    virtual void file1RefreshAndFormLoad() = 0;
};

} // namespace lorvane
