#pragma once

#include "NumberSeries.h"
#include "OptionButton.h"
#include "OptionGroup.h"
#include "PreviewList.h"
#include "PreviewStore.h"
#include "ReplacePair.h"
#include "RuleCodes.h"
#include "TextBox.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace lorvane {

class FileList;

// The rename rule engine: the headless presentation model of the
// main window's rule controls, the engine state and every rule handler,
// with their given names.
//
// How the window binds to it
// --------------------------
// Construct one RenameEngine with the window's File1 (a FileList). Then, for every
// control the engine models, find the model by the widget's objectName with
// textBox(name) / option(name) and bind it as TextBox.h and OptionButton.h describe:
//   text boxes   txtFil txtDel txtW txtEX txtP txtStart txtStep txtZ
//   option groups Frame2: Filno FilDel reFil FilAf FilBe   Frame3: ExNo ExDel ExRen
//                 Frame4: NumA NumB Numno                  Frame5: Nno NB NF NS
//   List1        List1() (PreviewList.h): a QAbstractListModel over entries(),
//                reset on entriesReset(), one dataChanged on entriesChanged().
// Further calls the window makes:
//   - CmdNum's Click: CmdNum_Click(). A mouse release over Numno: Numno_MouseUp().
//   - The window's load routine: Form_Load(), after File1 lists its folder.
//   - Whenever File1 lists a (new) folder (txtPath's change): folderListed().
//   - The reset after a rename execution: Form_Load(), then resetRuleGroups().
//   - Every focus change inside the main window: setFocusControl(objectName of the
//     widget that now has the focus; empty when it is none of the window's). When
//     the engine moves the focus itself (reFil_Click gives txtFil the focus, ...) it
//     runs the focus handlers first and then emits focusRequested(name); move the
//     widget focus there (the resulting setFocusControl call is then a no-op).
// No rule logic belongs in the window: it forwards events and shows the models.
//
// Handler runs
// ------------
// Handlers call one another directly. Work that the window starts
// (an edit, a click, a focus change, one of the calls above) is one run: List1 is
// published once when the outermost handler returns (one entriesReset/entriesChanged),
// and focus moves requested during the run are carried out then, in the window
// system's order: the old control's LostFocus, the new control's GotFocus.
//
// How the preview is kept
// -----------------------
// The handlers edit the preview in place, each writing only its own part of every
// entry. The engine keeps each entry as its parts, so that no
// rule ever has to find them again by searching the name for its last dot:
//   [NumB number] base name extension
// The file-name rules write the base name, the extension rules the extension, the
// numbering rule its number, the letter-case rules every character in place, and
// the replace pair the base name and extension (never the number). List1 entry i is
// these parts joined; a NumA number goes before the last dotted part of the joined
// parts, whatever rule made that dot, which is the extension the renamed file gets.
// So running numbers (also fractional ones) can never move the boundary between
// base name and extension, and numbers come out exactly.
//
// Where things are
// ----------------
// PreviewStore.h holds the entries' parts, their shared strings and the range to
// publish; ReplacePair.h what the replace pair took out of each entry;
// NumberSeries.h the formatted running numbers. The handlers are members of this
// class, one file per rule group: FileNameRules.cpp (with the replace pair),
// ExtensionRules.cpp, LetterCaseRules.cpp, NumberingRules.cpp; RenameEngine.cpp has
// the controls, handler runs, focus, loading and the full rebuild.
class RenameEngine : public QObject
{
    Q_OBJECT
public:
    explicit RenameEngine(FileList &file1, QObject *parent = nullptr);
    ~RenameEngine() override;

    // --- Controls -----------------------------------------------------------------
    [[nodiscard]] TextBox *textBox(QStringView name);
    [[nodiscard]] OptionButton *option(QStringView name);
    [[nodiscard]] OptionGroup *optionGroup(QStringView name);
    [[nodiscard]] PreviewList &List1() { return m_list1; }
    [[nodiscard]] FileList &File1() { return m_file1; }

    [[nodiscard]] TextBox &txtFil() { return m_txtFil; }
    [[nodiscard]] TextBox &txtDel() { return m_txtDel; }
    [[nodiscard]] TextBox &txtW() { return m_txtW; }
    [[nodiscard]] TextBox &txtEX() { return m_txtEX; }
    [[nodiscard]] TextBox &txtP() { return m_txtP; }
    [[nodiscard]] TextBox &txtStart() { return m_txtStart; }
    [[nodiscard]] TextBox &txtStep() { return m_txtStep; }
    [[nodiscard]] TextBox &txtZ() { return m_txtZ; }

    [[nodiscard]] OptionButton &Filno() { return m_Filno; }
    [[nodiscard]] OptionButton &FilDel() { return m_FilDel; }
    [[nodiscard]] OptionButton &reFil() { return m_reFil; }
    [[nodiscard]] OptionButton &FilAf() { return m_FilAf; }
    [[nodiscard]] OptionButton &FilBe() { return m_FilBe; }
    [[nodiscard]] OptionButton &ExNo() { return m_ExNo; }
    [[nodiscard]] OptionButton &ExDel() { return m_ExDel; }
    [[nodiscard]] OptionButton &ExRen() { return m_ExRen; }
    [[nodiscard]] OptionButton &Nno() { return m_Nno; }
    [[nodiscard]] OptionButton &NB() { return m_NB; }
    [[nodiscard]] OptionButton &NF() { return m_NF; }
    [[nodiscard]] OptionButton &NS() { return m_NS; }
    [[nodiscard]] OptionButton &NumA() { return m_NumA; }
    [[nodiscard]] OptionButton &NumB() { return m_NumB; }
    [[nodiscard]] OptionButton &Numno() { return m_Numno; }

    // --- Operations the window calls -------------------------------------------------
    // The engine part of the main window's load routine: rule codes 0, PreviewUnnumbered True, the
    // extension flags False, ForbiddenChars filled, List1 refilled from File1, and the rules whose
    // options are selected applied to it (at program start all are "no change").
    void Form_Load();
    // After File1 has listed a new folder: the
    // extension filter txtP_Change runs (pattern set, List1 refilled) and every
    // selected rule is applied again to the new names, in group order.
    void folderListed();
    // The reset after a rename execution: Filno, ExNo, Numno and Nno are
    // selected in this order, each running its Click when the selection changes.
    void resetRuleGroups();

    // --- Focus ------------------------------------------------------------------------
    [[nodiscard]] const QString &focusControl() const { return m_focus; }
    // The control with this objectName now has the focus: runs the LostFocus handler
    // of the control that had it and the GotFocus handler of this one.
    void setFocusControl(const QString &name);

    // --- Full rebuild ------------------------------------------------------------------
    // Every entry reset to its folder name, then the selected rules applied again in
    // group order (file-name rule with txtFil, extension rule with txtEX, numbering).
    // The letter-case rule is not re-applied (the body of Nno_Click).
    void FullRebuild();

    // --- File-name part rules and the replace pair --------------------------------------
    void Filno_Click();
    void FilDel_Click();
    void reFil_Click();
    void FilAf_Click();
    void FilBe_Click();
    void txtFil_Change();
    void txtFil_Click();
    void txtFil_GotFocus();
    [[nodiscard]] bool txtFil_KeyPress(const QString &typed);
    void AppendToBaseName();
    [[nodiscard]] bool txtDel_KeyPress(const QString &typed);
    void txtDel_Change();
    [[nodiscard]] bool txtW_KeyPress(const QString &typed);
    void txtW_Change();

    // --- Extension rules and the filter ------------------------------------------------
    void ExNo_Click();
    void ExDel_Click();
    void ExRen_Click();
    void ExRen_GotFocus();
    void ExRen_LostFocus();
    void txtEX_Change();
    void txtEX_Click();
    void txtEX_GotFocus();
    [[nodiscard]] bool txtEX_KeyPress(const QString &typed);
    void txtEX_LostFocus();
    void txtP_Change();

    // --- Letter case -------------------------------------------------------------------
    void Nno_Click();
    void NB_Click();
    void NF_Click();
    void NS_Click();
    void DoNum();

    // --- Numbering ---------------------------------------------------------------------
    // Apply numbering (the Click of CmdNum).
    void CmdNum_Click();
    // Strip numbering (the Click of Numno).
    void Numno_Click();
    void Numno_MouseUp();
    // Choosing a placement applies numbering at once.
    void NumA_Click() { choosePlacement(); }
    void NumB_Click() { choosePlacement(); }
    void txtStart_Change();
    void txtStart_Click();
    void txtStep_Change();
    void txtStep_Click();
    void txtZ_Change();
    void txtZ_Click();

    // --- Execution -----------------------------------------------------------------------
    // What the execution does before it asks: when two List1 entries are equal
    // (exactly, letter case counts, excluded files included), running numbers are
    // forced on at the start of every name: NumB selected, start 1, step 1, applied.
    // Numbering again would give the same names, so once is enough; what it still
    // leaves equal (an 11th entry "a" beside a first entry "1a") the renaming
    // refuses for itself. Returns whether numbering was forced.
    bool resolveDuplicates();

    // --- Engine state, read-only ---------------------------------------------------------
    [[nodiscard]] FileRule FileRuleCode() const { return m_FileRuleCode; }
    [[nodiscard]] ExtRule ExtRuleCode() const { return m_ExtRuleCode; }
    [[nodiscard]] NumRule NumRuleCode() const { return m_NumRuleCode; }
    [[nodiscard]] CaseRule CaseRuleCode() const { return m_CaseRuleCode; }
    [[nodiscard]] bool PreviewUnnumbered() const { return m_PreviewUnnumbered; }
    [[nodiscard]] bool ExtStripped() const { return m_ExtStripped; }
    [[nodiscard]] bool ExtChangeActive() const { return m_ExtChangeActive; }
    [[nodiscard]] bool ExtDeleted() const { return m_ExtDeleted; }
    // The base names saved by the insert-before rule when FilAf was clicked; read
    // only by the insert-before rule (the extension change rule writes the extension
    // part alone and needs no saved names, so it never shares this table).
    [[nodiscard]] const QStringList &NameSnapshot() const { return m_NameSnapshot; }
    [[nodiscard]] const QStringList &ForbiddenChars() const { return m_ForbiddenChars; }
    // NumberTexts(i) for i < List1 count: the number text in entry i ("" when the
    // last numbering did not number it); NumberTexts(count): the marker "NumA",
    // "NumB", "None" or "".
    [[nodiscard]] QString NumberTexts(int index) const;
    // How many occurrences the replace pair has taken out of entry i (0 = none), and
    // the lengths of the pieces between them.
    [[nodiscard]] int ReplaceCounts(int index) const;
    [[nodiscard]] std::vector<int> PieceLengths(int index) const;

    // The parts of entry i, for tests and diagnostics.
    [[nodiscard]] QString baseNamePart(int index) const;
    [[nodiscard]] QString extensionPart(int index) const;

signals:
    // The engine moved the focus to the control with this objectName.
    void focusRequested(const QString &controlName);

private:
    // One handler run: the outermost run publishes List1 and carries out the focus
    // moves requested during it.
    class Run
    {
    public:
        explicit Run(RenameEngine &engine) : m_engine(engine) { ++m_engine.m_runDepth; }
        ~Run()
        {
            if (--m_engine.m_runDepth == 0)
                m_engine.endRun();
        }
        Run(const Run &) = delete;
        Run &operator=(const Run &) = delete;

    private:
        RenameEngine &m_engine;
    };

    int count() const { return m_store.count(); }
    bool numberingInForce() const { return !m_Numno.isSelected(); }
    void requestFocus(const QString &name) { m_pendingFocus = name; }
    void endRun();
    void moveFocus(const QString &name);
    void runLostFocus(const QString &name);
    void runGotFocus(const QString &name);

    void reapplySelectedRules(bool withLetterCase);
    void changeFocusStep();
    void takeAppendedDotsOff();
    void choosePlacement();
    bool refuses(const QString &typed) const;
    QString withoutForbidden(const QString &text) const;

    FileList &m_file1;
    PreviewList m_list1;

    TextBox m_txtFil{QStringLiteral("txtFil")};
    TextBox m_txtDel{QStringLiteral("txtDel")};
    TextBox m_txtW{QStringLiteral("txtW")};
    TextBox m_txtEX{QStringLiteral("txtEX")};
    TextBox m_txtP{QStringLiteral("txtP")};
    TextBox m_txtStart{QStringLiteral("txtStart")};
    TextBox m_txtStep{QStringLiteral("txtStep")};
    TextBox m_txtZ{QStringLiteral("txtZ")};

    OptionGroup m_Frame2{QStringLiteral("Frame2")};
    OptionGroup m_Frame3{QStringLiteral("Frame3")};
    OptionGroup m_Frame4{QStringLiteral("Frame4")};
    OptionGroup m_Frame5{QStringLiteral("Frame5")};
    OptionButton m_Filno{QStringLiteral("Filno"), m_Frame2};
    OptionButton m_FilDel{QStringLiteral("FilDel"), m_Frame2};
    OptionButton m_reFil{QStringLiteral("reFil"), m_Frame2};
    OptionButton m_FilAf{QStringLiteral("FilAf"), m_Frame2};
    OptionButton m_FilBe{QStringLiteral("FilBe"), m_Frame2};
    OptionButton m_ExNo{QStringLiteral("ExNo"), m_Frame3};
    OptionButton m_ExDel{QStringLiteral("ExDel"), m_Frame3};
    OptionButton m_ExRen{QStringLiteral("ExRen"), m_Frame3};
    OptionButton m_NumA{QStringLiteral("NumA"), m_Frame4};
    OptionButton m_NumB{QStringLiteral("NumB"), m_Frame4};
    OptionButton m_Numno{QStringLiteral("Numno"), m_Frame4};
    OptionButton m_Nno{QStringLiteral("Nno"), m_Frame5};
    OptionButton m_NB{QStringLiteral("NB"), m_Frame5};
    OptionButton m_NF{QStringLiteral("NF"), m_Frame5};
    OptionButton m_NS{QStringLiteral("NS"), m_Frame5};

    FileRule m_FileRuleCode = FileRule::NoChange;
    ExtRule m_ExtRuleCode = ExtRule::NoChange;
    NumRule m_NumRuleCode = NumRule::Off;
    CaseRule m_CaseRuleCode = CaseRule::NoChange;
    bool m_PreviewUnnumbered = true;
    bool m_ExtStripped = false;
    bool m_ExtChangeActive = false;
    bool m_ExtDeleted = false;
    QStringList m_NameSnapshot;
    QStringList m_ForbiddenChars;
    QString m_NumberMarker;

    ReplacePair m_replace;
    PreviewStore m_store{m_replace};
    NumberSeries m_numberSeries;

    int m_runDepth = 0;
    QString m_focus;
    std::optional<QString> m_pendingFocus;
};

} // namespace lorvane
