#include "RenameEngine.h"

#include "NameText.h"

namespace lorvane {

void RenameEngine::Filno_Click()
{
    Run run(*this);
    m_PreviewUnnumbered = true;
    m_FileRuleCode = FileRule::NoChange;
    for (int i = 0; i < count(); ++i)
        m_store.setBase(i, m_store.folderBase(i));
    if (numberingInForce())
        CmdNum_Click();
    m_PreviewUnnumbered = false;
}

void RenameEngine::FilDel_Click()
{
    Run run(*this);
    m_FileRuleCode = FileRule::Delete;
    m_store.setAllBases(QString());
    m_PreviewUnnumbered = true;
    if (numberingInForce())
        CmdNum_Click();
    m_PreviewUnnumbered = false;
}

void RenameEngine::reFil_Click()
{
    Run run(*this);
    m_FileRuleCode = FileRule::TextRule;
    m_txtFil.requestSelectAll();
    requestFocus(m_txtFil.objectName());
    FilDel_Click();
    if (!m_txtFil.text().isEmpty())
        txtFil_Change();
}

void RenameEngine::FilAf_Click()
{
    Run run(*this);
    m_FileRuleCode = FileRule::TextRule;
    m_txtFil.requestSelectAll();
    requestFocus(m_txtFil.objectName());
    Filno_Click();
    if (numberingInForce())
        Numno_Click();
    m_NameSnapshot.clear();
    m_NameSnapshot.reserve(count());
    for (int i = 0; i < count(); ++i)
        m_NameSnapshot.append(m_store.base(i));
    m_PreviewUnnumbered = true;
    if (numberingInForce()) {
        CmdNum_Click();
        m_PreviewUnnumbered = false;
    }
    if (!m_txtFil.text().isEmpty())
        txtFil_Change();
}

void RenameEngine::FilBe_Click()
{
    Run run(*this);
    m_FileRuleCode = FileRule::TextRule;
    m_txtFil.requestSelectAll();
    requestFocus(m_txtFil.objectName());
    Filno_Click();
    if (!m_txtFil.text().isEmpty())
        txtFil_Change();
}

void RenameEngine::txtFil_Change()
{
    Run run(*this);
    const QString t = m_txtFil.text();
    m_PreviewUnnumbered = true;
    if (m_reFil.isSelected()) {
        m_FileRuleCode = FileRule::TextRule;
        FilDel_Click();
        m_PreviewUnnumbered = false;
        if (numberingInForce())
            Numno_Click();
        m_PreviewUnnumbered = true;
        m_store.setAllBases(t);
        if (numberingInForce())
            CmdNum_Click();
    }
    if (m_FilAf.isSelected()) {
        m_FileRuleCode = FileRule::InsertBefore;
        for (int i = 0; i < count(); ++i) {
            const QString &saved =
                i < m_NameSnapshot.size() ? m_NameSnapshot.at(i) : m_store.folderBase(i);
            m_store.setBase(i, t + saved);
        }
        if (numberingInForce())
            CmdNum_Click();
    }
    if (m_FilBe.isSelected()) {
        m_FileRuleCode = FileRule::InsertAfter;
        AppendToBaseName();
    }
    m_PreviewUnnumbered = false;
    DoNum();
}

void RenameEngine::txtFil_Click()
{
    m_txtFil.requestSelectAll();
}

void RenameEngine::txtFil_GotFocus() {}

bool RenameEngine::txtFil_KeyPress(const QString &typed)
{
    if (!refuses(typed))
        return true;
    m_txtFil.requestCaretToEnd();
    return false;
}

// The insert-after worker. The number of NumA is placed by the entry as it stands,
// so the text follows the folder base name and the number goes before the last
// dotted part of the result, exactly as a full rebuild in group order gives it.
void RenameEngine::AppendToBaseName()
{
    Run run(*this);
    Filno_Click();
    const QString t = m_txtFil.text();
    if (t.isEmpty())
        return;
    for (int i = 0; i < count(); ++i)
        m_store.setBase(i, m_store.base(i) + t);
}

// No key is refused. Nothing is noted before the change either: the replace pair
// keeps the find text its pieces were split at, so that a paste, cut or undo,
// which comes without a key press, restores the entries exactly as typing does.
bool RenameEngine::txtDel_KeyPress(const QString &)
{
    return true;
}

void RenameEngine::txtDel_Change()
{
    Run run(*this);
    const QString find = m_txtDel.text();
    const QString with = isBlank(m_txtW.text()) ? QString() : m_txtW.text();
    m_store.separateBases();
    m_replace.resize(count());
    bool anyPieces = false;
    for (int i = 0; i < count(); ++i) {
        if (m_replace.holds(i)) {
            m_store.rebuildFromPieces(i, m_replace.find(), ReplacePair::Join::Restore);
            m_replace.forget(i);
        }
        // A number before the extension is not part of the text searched; no
        // occurrence may run across it.
        const qsizetype avoid = m_store.numbers().place == NumberPlace::BeforeExtension &&
                                        !m_store.numberOf(i).isEmpty()
                                    ? m_store.numberPosition(i)
                                    : -1;
        if (m_replace.split(i, m_store.base(i), m_store.ext(i), find, avoid))
            anyPieces = true;
    }
    m_replace.setFind(find);
    m_replace.setInserted(with);
    if (!anyPieces) {
        m_replace.clear();
        return;
    }
    for (int i = 0; i < count(); ++i) {
        if (m_replace.holds(i))
            m_store.rebuildFromPieces(i, with, ReplacePair::Join::Insert);
    }
}

bool RenameEngine::txtW_KeyPress(const QString &)
{
    return true;
}

// The previous with text comes out only where the replace pair put it, by
// position, never by searching the entry for it: a with text that also occurs in
// the name elsewhere, or that a rebuild has already removed, leaves the name alone.
void RenameEngine::txtW_Change()
{
    Run run(*this);
    m_txtDel.setEnabled(m_txtW.text().isEmpty());
    if (m_txtDel.text().isEmpty() && !m_txtW.text().isEmpty()) {
        m_txtW.setText(QString()); // runs txtW_Change again, which does the rest
        return;
    }
    const QString with = isBlank(m_txtW.text()) ? QString() : m_txtW.text();
    if (with == m_replace.inserted())
        return;
    m_replace.setInserted(with);
    if (m_replace.isEmpty())
        return;
    for (int i = 0; i < count(); ++i) {
        if (m_replace.holds(i))
            m_store.rebuildFromPieces(i, with, ReplacePair::Join::Insert);
    }
}

} // namespace lorvane
