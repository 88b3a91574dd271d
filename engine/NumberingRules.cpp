#include "RenameEngine.h"

#include "NameText.h"

#include <QSet>

namespace lorvane {

void RenameEngine::CmdNum_Click()
{
    Run run(*this);
    if (!m_PreviewUnnumbered)
        Numno_Click();
    const NumberPlace place = m_NumB.isSelected()   ? NumberPlace::AtStart
                              : m_NumA.isSelected() ? NumberPlace::BeforeExtension
                                                    : NumberPlace::None;
    if (place == NumberPlace::None || count() == 0) {
        // Entries this apply does not number carry no number, so a later strip
        // leaves them exactly as they are.
        m_store.setNumbers(AppliedNumbers{});
        return;
    }
    AppliedNumbers numbers;
    numbers.place = place;
    numbers.texts = m_numberSeries.textsFor(leadingNumberValue(m_txtStart.text()),
                                            leadingNumberValue(m_txtStep.text()),
                                            leadingNumberValue(m_txtZ.text()), count());
    numbers.numbered = qMin<qsizetype>(count(), qsizetype(numbers.texts->texts.size()));
    m_store.setNumbers(numbers);
    m_NumRuleCode = NumRule::InForce;
    m_NumberMarker =
        place == NumberPlace::AtStart ? QStringLiteral("NumB") : QStringLiteral("NumA");
    m_PreviewUnnumbered = false;
}

void RenameEngine::Numno_Click()
{
    Run run(*this);
    m_NumRuleCode = NumRule::Off;
    // Every entry's number is known exactly, so the strip is exact whatever the
    // marker says, and a second strip finds nothing to take out.
    m_store.setNumbers(AppliedNumbers{});
    if (m_NumberMarker != u"None")
        m_PreviewUnnumbered = true;
}

void RenameEngine::Numno_MouseUp()
{
    m_NumberMarker = QStringLiteral("None");
}

void RenameEngine::choosePlacement()
{
    Run run(*this);
    CmdNum_Click();
    m_NumRuleCode = NumRule::InForce;
}

void RenameEngine::txtStart_Change()
{
    Run run(*this);
    QString text = trimSpaces(m_txtStart.text());
    if (!isNumericText(text))
        text = QStringLiteral("0");
    if (text != m_txtStart.text()) {
        m_txtStart.setText(text); // runs txtStart_Change again with the sound text
        return;
    }
    if (leadingNumberValue(text) > 0 && leadingNumberValue(m_txtStep.text()) == 0)
        m_txtStep.setText(QStringLiteral("1"));
}

void RenameEngine::txtStart_Click()
{
    m_txtStart.requestSelectAll();
}

void RenameEngine::txtStep_Change()
{
    Run run(*this);
    QString text = trimSpaces(m_txtStep.text());
    if (!isNumericText(text))
        text = QStringLiteral("1");
    if (text != m_txtStep.text())
        m_txtStep.setText(text);
}

void RenameEngine::txtStep_Click()
{
    m_txtStep.requestSelectAll();
}

void RenameEngine::txtZ_Change()
{
    Run run(*this);
    if (!isNumericText(m_txtZ.text()))
        m_txtZ.setText(QStringLiteral("0"));
}

void RenameEngine::txtZ_Click()
{
    m_txtZ.requestSelectAll();
}

bool RenameEngine::resolveDuplicates()
{
    Run run(*this);
    const QStringList &entries = m_list1.entries();
    QSet<QStringView> seen;
    seen.reserve(entries.size());
    const auto hasDuplicate = [&] {
        for (const QString &entry : entries) {
            if (seen.contains(entry))
                return true;
            seen.insert(entry);
        }
        return false;
    };
    if (!hasDuplicate())
        return false;
    m_NumB.select();
    m_txtStart.setText(QStringLiteral("1"));
    m_txtStep.setText(QStringLiteral("1"));
    CmdNum_Click();
    return true;
}

} // namespace lorvane
