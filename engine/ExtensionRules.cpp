#include "RenameEngine.h"

#include "FileList.h"
#include "NameText.h"

namespace lorvane {

void RenameEngine::ExNo_Click()
{
    Run run(*this);
    m_ExtDeleted = false;
    m_ExtChangeActive = false;
    m_txtEX.setEnabled(false);
    m_ExtRuleCode = ExtRule::NoChange;
    for (int i = 0; i < count(); ++i)
        m_store.setExt(i, m_store.folderExt(i), false);
    m_ExtStripped = false;
}

// Also when the change rule held the entries with an empty extension, delete ends
// with entries that carry no extension: ExtStripped True and ExtRuleCode 1, so that
// a later no change gives back exactly the folder's extension.
void RenameEngine::ExDel_Click()
{
    Run run(*this);
    m_txtEX.setEnabled(false);
    if (m_txtEX.text().isEmpty() && m_ExtChangeActive)
        changeFocusStep();
    const QString empty;
    for (int i = 0; i < count(); ++i)
        m_store.setExt(i, empty, false);
    m_ExtStripped = true;
    m_ExtChangeActive = false;
    m_ExtDeleted = true;
    m_ExtRuleCode = ExtRule::Delete;
}

void RenameEngine::ExRen_Click()
{
    Run run(*this);
    if (!m_ExtDeleted) {
        m_txtEX.setEnabled(true);
        ExDel_Click();
    }
    const QString dot = QStringLiteral(".");
    for (int i = 0; i < count(); ++i)
        m_store.setExt(i, dot, true);
    m_txtEX.setEnabled(true);
    m_ExtStripped = false;
    m_ExtChangeActive = true;
    requestFocus(m_txtEX.objectName());
    m_txtEX.requestSelectAll();
    txtEX_Change();
    m_ExtRuleCode = ExtRule::Change;
}

void RenameEngine::ExRen_GotFocus()
{
    Run run(*this);
    changeFocusStep();
}

void RenameEngine::ExRen_LostFocus()
{
    Run run(*this);
    changeFocusStep();
}

void RenameEngine::changeFocusStep()
{
    if (!m_ExRen.isSelected()) {
        m_ExtStripped = false;
        m_ExtChangeActive = false;
        return;
    }
    const QString trimmed = trimSpaces(m_txtEX.text());
    if (trimmed != m_txtEX.text())
        m_txtEX.setText(trimmed);
    if (m_txtEX.text().isEmpty()) {
        takeAppendedDotsOff();
        m_ExtStripped = true;
    }
}

// Only the dot that the change rule appended comes off, and only where it still
// stands, so running the step twice never cuts a real character.
void RenameEngine::takeAppendedDotsOff()
{
    const QString empty;
    for (int i = 0; i < count(); ++i) {
        if (m_store.extByChangeRule(i) && m_store.ext(i) == u'.')
            m_store.setExt(i, empty, false);
    }
}

void RenameEngine::txtEX_Change()
{
    Run run(*this);
    m_ExtStripped = false;
    const QString trimmed = trimSpaces(m_txtEX.text());
    if (trimmed != m_txtEX.text()) {
        m_txtEX.setText(trimmed); // runs txtEX_Change again with the trimmed text
        return;
    }
    // The extension box writes the preview only while its rule is chosen, so that
    // the preview always shows what the options say.
    if (!m_ExRen.isSelected())
        return;
    const QString ext = u'.' + trimmed;
    for (int i = 0; i < count(); ++i)
        m_store.setExt(i, ext, true);
}

void RenameEngine::txtEX_Click()
{
    m_txtEX.requestSelectAll();
}

void RenameEngine::txtEX_GotFocus()
{
    Run run(*this);
    if (!m_ExRen.isSelected() || !isBlank(m_txtEX.text()))
        return;
    const QString dot = QStringLiteral(".");
    for (int i = 0; i < count(); ++i)
        m_store.setExt(i, dot, true);
}

bool RenameEngine::txtEX_KeyPress(const QString &typed)
{
    if (!refuses(typed))
        return true;
    m_txtEX.requestCaretToEnd();
    return false;
}

void RenameEngine::txtEX_LostFocus()
{
    Run run(*this);
    changeFocusStep();
}

void RenameEngine::txtP_Change()
{
    Run run(*this);
    const QString trimmed = trimSpaces(m_txtP.text());
    if (trimmed != m_txtP.text()) {
        m_txtP.setText(trimmed); // runs txtP_Change again with the trimmed text
        return;
    }
    const QString pattern = trimmed.isEmpty() || trimmed == u'.' ? QStringLiteral("*.*")
                                                                 : QStringLiteral("*.") + trimmed;
    if (m_file1.pattern() != pattern)
        m_file1.setPattern(pattern);
    m_PreviewUnnumbered = true;
    m_store.refill(m_file1, PreviewStore::Refill::Reset);
    reapplySelectedRules(true);
}

} // namespace lorvane
