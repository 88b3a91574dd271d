#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QItemSelection;
class QLabel;
class QLineEdit;
class QListView;
class QRadioButton;
class FolderListModel;
class FolderTree;
class PreviewClashes;
class PreviewListModel;
namespace lorvane {
class CmdButton;
class RenameEngine;
class StoredButtons;
class TextBox;
} // namespace lorvane

// The main window: folder tree, folder list File1, preview List1, the
// name-rules pane Fram, the properties pane Frame (in the same place, one
// visible at a time) and the window's buttons.
//
// What other parts of the program use:
// - File1Model(): the folder list. For each entry its decoded name (what the
//   preview works on) and its exact on-disk bytes (what a rename must use);
//   path() / pathBytes() give the folder. File1Selected(i) is the exclusion
//   state of entry i (a selected entry is not renamed).
// - List1Names(): the preview, one proposed name per File1 entry, same order.
// - engine(): the rename rules behind the name-rules pane (RenameEngine.h);
//   every widget of the pane is bound to its model there.
// - txtPath (hidden): the folder shown; PathChange(path) shows another one.
// - Form_Load(): the start-up initialisation, also run after a renaming and
//   after an undo. It re-selects the start folder in the tree and returns at
//   once.
// - resetRuleGroups(): every rule group back to "no change", each running its
//   click handler when its choice changes.
// - chkKeepOffSomeFl_Click(): the exclusion mode as the check box says.
// - CmdDoNow and cmdUnRename exist with their stored looks; their clicks are
//   connected to CmdDoNow_Click() and cmdUnRename_Click(), which run the
//   renaming and its undo (RenameCommands, which also holds UndoNames).
// - Frame: the properties pane, created in createPropertiesPane() and hidden
//   by Form_Load(); cmdTO: the pane switch button, whose click is the
//   pane's cmdTO_Click().
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // `startFolder` is the folder the tree starts on; the program's own folder
    // when empty. Construction runs Form_Load(), which shows the window.
    explicit Form1(const QString &startFolder = {}, QWidget *parent = nullptr);
    ~Form1() override;

    [[nodiscard]] QString startFolder() const { return m_startFolder; }

    // The folder list File1 and its exclusion state.
    [[nodiscard]] FolderListModel *File1Model() const { return m_file1Model; }
    [[nodiscard]] bool File1Selected(int row) const;
    void setFile1Selected(int row, bool selected);
    [[nodiscard]] QStringList List1Names() const;
    [[nodiscard]] lorvane::RenameEngine &engine() const { return *m_engine; }

    // The tooltip File1 shows while files can be picked for exclusion.
    static QString File1ExcludeTip();

    void Form_Load();
    // txtPath = BrowsePath; listing follows when the text really changes.
    void PathChange();
    void PathChange(const QString &path);
    // Lists the folder txtPath names into File1 and rebuilds the preview.
    // That folder is the one every operation acts on: a folder that cannot
    // be listed (no permission, gone, not a folder) empties File1 and List1,
    // so that nothing of the folder shown before can be renamed, and the
    // person is told. Also for a folder shown that has since vanished.
    void listFolder();
    void resetRuleGroups();
    void chkKeepOffSomeFl_Click();
    void SelectList1();

    // What ending the program does once the user has said Yes (by default:
    // every window closes and the event loop ends).
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

    // Controls by their given names (also their object names).
    QLineEdit *txtPath;
    QWidget *picBrowse;
    FolderTree *folderTree;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QListView *File1;
    QListView *List1;
    QFrame *Fram;
    QFrame *Frame;
    lorvane::CmdButton *cmdTO;
    lorvane::CmdButton *CmdDoNow;
    lorvane::CmdButton *cmdAbout;
    lorvane::CmdButton *CmdEnd;
    lorvane::CmdButton *cmdUnRename;
    lorvane::CmdButton *cmdAntiSlct;
    lorvane::CmdButton *cmdDestorySlct;
    lorvane::CmdButton *CmdNum;

    QGroupBox *Frame2;
    QGroupBox *Frame3;
    QGroupBox *Frame4;
    QGroupBox *Frame5;
    QGroupBox *Frame6;
    QRadioButton *Filno;
    QRadioButton *FilDel;
    QRadioButton *reFil;
    QRadioButton *FilAf;
    QRadioButton *FilBe;
    QLineEdit *txtFil;
    QLabel *Label8;
    QLineEdit *txtDel;
    QLabel *Label9;
    QLineEdit *txtW;
    QRadioButton *ExNo;
    QRadioButton *ExDel;
    QRadioButton *ExRen;
    QLineEdit *txtEX;
    QLabel *Label1;
    QLineEdit *txtP;
    QRadioButton *Nno;
    QRadioButton *NB;
    QRadioButton *NF;
    QRadioButton *NS;
    QRadioButton *Numno;
    QRadioButton *NumA;
    QRadioButton *NumB;
    QLabel *Label5;
    QLineEdit *txtStart;
    QLabel *Label6;
    QLineEdit *txtStep;
    QLabel *Label7;
    QLineEdit *txtZ;
    QCheckBox *chkKeepOffSomeFl;

    void CmdDoNow_Click();
    void cmdUnRename_Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void createWindowControls(const lorvane::StoredButtons &stored);
    void createRulesPane(const lorvane::StoredButtons &stored);
    void createPropertiesPane();
    void keepMouseToThemselves();
    void bindRules();
    void bindTextBox(QLineEdit *box);
    void bindOption(QRadioButton *radio);

    void Form_Activate();
    void postActivation();
    void Form_Unload(bool &cancel);
    void placeWindow(bool stayOnTop);
    void txtPath_Change();
    void tellFolderCannotBeListed(int error);
    void File1_DblClick();
    void List1_SelectionChanged();
    void markExcluded();
    void cmdAntiSlct_Click();
    void cmdDestorySlct_Click();
    void cmdAbout_Click();
    void CmdEnd_Click();

    QString m_startFolder;
    QString BrowsePath;
    FolderListModel *m_file1Model;
    lorvane::RenameEngine *m_engine;
    PreviewListModel *m_list1Model;
    PreviewClashes *m_clashes;
    QHash<QObject *, lorvane::TextBox *> m_boxModels;
    bool m_mirroring = false;
    bool m_activationPending = true;
    bool m_hintPosted = false;
    std::function<void()> m_endProgram;
};
