#include "RenameEngine.h"

namespace lorvane {

void RenameEngine::NB_Click()
{
    Run run(*this);
    m_CaseRuleCode = CaseRule::Capital;
    m_store.mapLetters(true);
}

void RenameEngine::NF_Click()
{
    Run run(*this);
    m_CaseRuleCode = CaseRule::Small;
    m_store.mapLetters(false);
}

void RenameEngine::NS_Click()
{
    Run run(*this);
    NF_Click();
    m_CaseRuleCode = CaseRule::FirstCapital;
    m_store.capitaliseFirstNonDigit();
}

void RenameEngine::Nno_Click()
{
    Run run(*this);
    m_CaseRuleCode = CaseRule::NoChange;
    FullRebuild();
}

void RenameEngine::DoNum()
{
    Run run(*this);
    if (m_NB.isSelected())
        NB_Click();
    else if (m_NF.isSelected())
        NF_Click();
    else if (m_NS.isSelected())
        NS_Click();
}

} // namespace lorvane
