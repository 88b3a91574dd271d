#include "RenameEngine.h"

#include "FileList.h"
#include "NameText.h"

namespace lorvane {

RenameEngine::RenameEngine(FileList &file1, QObject *parent) : QObject(parent), m_file1(file1)
{
    m_Frame2.setInitial(m_Filno);
    m_Frame3.setInitial(m_ExNo);
    m_Frame4.setInitial(m_Numno);
    m_Frame5.setInitial(m_Nno);
    m_txtEX.setEnabled(false);
    m_txtStart.setText(QStringLiteral("0"));
    m_txtStep.setText(QStringLiteral("0"));
    m_txtZ.setText(QStringLiteral("0"));
    m_store.serveKeys(m_list1);
    m_ForbiddenChars = {QStringLiteral("<"),  QStringLiteral(">"), QStringLiteral("?"),
                        QStringLiteral("\""), QStringLiteral("|"), QStringLiteral("\\"),
                        QStringLiteral("/"),  QStringLiteral("*"), QStringLiteral(":")};

    m_txtFil.setChangeHandler([this] { txtFil_Change(); });
    m_txtFil.setClickHandler([this] { txtFil_Click(); });
    m_txtFil.setKeyPressHandler([this](const QString &typed) { return txtFil_KeyPress(typed); });
    m_txtFil.setInputFilter([this](const QString &text) { return withoutForbidden(text); });
    m_txtDel.setChangeHandler([this] { txtDel_Change(); });
    m_txtDel.setKeyPressHandler([this](const QString &typed) { return txtDel_KeyPress(typed); });
    m_txtW.setChangeHandler([this] { txtW_Change(); });
    m_txtW.setKeyPressHandler([this](const QString &typed) { return txtW_KeyPress(typed); });
    m_txtEX.setChangeHandler([this] { txtEX_Change(); });
    m_txtEX.setClickHandler([this] { txtEX_Click(); });
    m_txtEX.setKeyPressHandler([this](const QString &typed) { return txtEX_KeyPress(typed); });
    m_txtEX.setInputFilter([this](const QString &text) { return withoutForbidden(text); });
    m_txtP.setChangeHandler([this] { txtP_Change(); });
    m_txtStart.setChangeHandler([this] { txtStart_Change(); });
    m_txtStart.setClickHandler([this] { txtStart_Click(); });
    m_txtStep.setChangeHandler([this] { txtStep_Change(); });
    m_txtStep.setClickHandler([this] { txtStep_Click(); });
    m_txtZ.setChangeHandler([this] { txtZ_Change(); });
    m_txtZ.setClickHandler([this] { txtZ_Click(); });

    m_Filno.setClickHandler([this] { Filno_Click(); });
    m_FilDel.setClickHandler([this] { FilDel_Click(); });
    m_reFil.setClickHandler([this] { reFil_Click(); });
    m_FilAf.setClickHandler([this] { FilAf_Click(); });
    m_FilBe.setClickHandler([this] { FilBe_Click(); });
    m_ExNo.setClickHandler([this] { ExNo_Click(); });
    m_ExDel.setClickHandler([this] { ExDel_Click(); });
    m_ExRen.setClickHandler([this] { ExRen_Click(); });
    m_NumA.setClickHandler([this] { NumA_Click(); });
    m_NumB.setClickHandler([this] { NumB_Click(); });
    m_Numno.setClickHandler([this] { Numno_Click(); });
    m_Nno.setClickHandler([this] { Nno_Click(); });
    m_NB.setClickHandler([this] { NB_Click(); });
    m_NF.setClickHandler([this] { NF_Click(); });
    m_NS.setClickHandler([this] { NS_Click(); });
}

RenameEngine::~RenameEngine() = default;

// --- Controls ---------------------------------------------------------------------------

TextBox *RenameEngine::textBox(QStringView name)
{
    for (TextBox *box :
         {&m_txtFil, &m_txtDel, &m_txtW, &m_txtEX, &m_txtP, &m_txtStart, &m_txtStep, &m_txtZ}) {
        if (box->objectName() == name)
            return box;
    }
    return nullptr;
}

OptionButton *RenameEngine::option(QStringView name)
{
    for (OptionGroup *group : {&m_Frame2, &m_Frame3, &m_Frame4, &m_Frame5}) {
        for (OptionButton *button : group->buttons()) {
            if (button->objectName() == name)
                return button;
        }
    }
    return nullptr;
}

OptionGroup *RenameEngine::optionGroup(QStringView name)
{
    for (OptionGroup *group : {&m_Frame2, &m_Frame3, &m_Frame4, &m_Frame5}) {
        if (group->objectName() == name)
            return group;
    }
    return nullptr;
}

// --- Runs and focus ---------------------------------------------------------------------

void RenameEngine::endRun()
{
    std::optional<QString> moved;
    while (m_pendingFocus) {
        const QString target = *m_pendingFocus;
        m_pendingFocus.reset();
        if (target == m_focus)
            continue;
        ++m_runDepth;
        moveFocus(target);
        --m_runDepth;
        moved = target;
    }
    m_store.publish(m_list1);
    if (moved)
        emit focusRequested(*moved);
}

void RenameEngine::setFocusControl(const QString &name)
{
    Run run(*this);
    if (name == m_focus)
        return;
    moveFocus(name);
}

void RenameEngine::moveFocus(const QString &name)
{
    const QString old = m_focus;
    m_focus = name;
    runLostFocus(old);
    runGotFocus(name);
}

void RenameEngine::runLostFocus(const QString &name)
{
    if (name == m_ExRen.objectName())
        ExRen_LostFocus();
    else if (name == m_txtEX.objectName())
        txtEX_LostFocus();
}

void RenameEngine::runGotFocus(const QString &name)
{
    if (name == m_ExRen.objectName())
        ExRen_GotFocus();
    else if (name == m_txtEX.objectName())
        txtEX_GotFocus();
    else if (name == m_txtFil.objectName())
        txtFil_GotFocus();
}

// --- Loading and the full rebuild -------------------------------------------------------

// Rules survive every refill: the rules whose options are selected are applied to
// the freshly filled names in group order, with the current texts, so the preview
// never shows plain names under selected rules. The option buttons
// decide, not the rule codes, which rest at other values after some handlers.
void RenameEngine::reapplySelectedRules(bool withLetterCase)
{
    m_PreviewUnnumbered = true;
    if (m_FilDel.isSelected()) {
        FilDel_Click();
    } else if (m_reFil.isSelected() || m_FilAf.isSelected() || m_FilBe.isSelected()) {
        if (m_FilAf.isSelected()) {
            m_NameSnapshot.clear();
            m_NameSnapshot.reserve(count());
            for (int i = 0; i < count(); ++i)
                m_NameSnapshot.append(m_store.folderBase(i));
        }
        txtFil_Change();
    }
    if (m_ExDel.isSelected()) {
        ExDel_Click();
    } else if (m_ExRen.isSelected()) {
        txtEX_Change();
        // With no extension typed the change rule shows the names without dot once
        // the focus is elsewhere, as the change-focus step leaves them.
        if (m_txtEX.text().isEmpty() && m_focus != m_txtEX.objectName()) {
            takeAppendedDotsOff();
            m_ExtStripped = true;
        }
    }
    if (numberingInForce())
        CmdNum_Click();
    m_PreviewUnnumbered = false;
    if (withLetterCase)
        DoNum();
}

void RenameEngine::Form_Load()
{
    Run run(*this);
    m_FileRuleCode = FileRule::NoChange;
    m_ExtRuleCode = ExtRule::NoChange;
    m_NumRuleCode = NumRule::Off;
    m_CaseRuleCode = CaseRule::NoChange;
    m_PreviewUnnumbered = true;
    m_ExtStripped = m_ExtChangeActive = m_ExtDeleted = false;
    m_store.refill(m_file1, PreviewStore::Refill::Reset);
    reapplySelectedRules(true);
}

void RenameEngine::folderListed()
{
    Run run(*this);
    txtP_Change();
}

void RenameEngine::resetRuleGroups()
{
    Run run(*this);
    m_Filno.select();
    m_ExNo.select();
    m_Numno.select();
    m_Nno.select();
}

void RenameEngine::FullRebuild()
{
    Run run(*this);
    m_PreviewUnnumbered = true;
    m_store.refill(m_file1, PreviewStore::Refill::InPlace);
    reapplySelectedRules(false);
}

// --- Refused characters -----------------------------------------------------------------

bool RenameEngine::refuses(const QString &typed) const
{
    for (QChar c : typed) {
        for (const QString &forbidden : m_ForbiddenChars) {
            if (c == forbidden.at(0))
                return true;
        }
    }
    return false;
}

// Text pasted into txtFil or txtEX loses the refused characters, as typed text does.
QString RenameEngine::withoutForbidden(const QString &text) const
{
    if (!refuses(text))
        return text;
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!refuses(QString(c)))
            kept.append(c);
    }
    return kept;
}

// --- State accessors --------------------------------------------------------------------

QString RenameEngine::NumberTexts(int index) const
{
    if (index == count())
        return m_NumberMarker;
    if (index < 0 || index > count())
        return {};
    return m_store.numberOf(index);
}

int RenameEngine::ReplaceCounts(int index) const
{
    return m_replace.occurrences(index);
}

std::vector<int> RenameEngine::PieceLengths(int index) const
{
    return m_replace.pieceLengths(index);
}

QString RenameEngine::baseNamePart(int index) const
{
    return m_store.base(index);
}

QString RenameEngine::extensionPart(int index) const
{
    return m_store.ext(index);
}

} // namespace lorvane
