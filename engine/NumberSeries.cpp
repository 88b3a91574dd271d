#include "NumberSeries.h"

#include "NameText.h"

#include <cmath>

namespace lorvane {

std::shared_ptr<const NumberSeries::Texts> NumberSeries::textsFor(double start, double step,
                                                                  double zeros, qsizetype count)
{
    if (!m_texts || m_texts->start != start || m_texts->step != step || m_texts->zeros != zeros) {
        m_texts = std::make_shared<Texts>();
        m_texts->start = start;
        m_texts->step = step;
        m_texts->zeros = zeros;
    }
    Texts &series = *m_texts;
    series.texts.reserve(size_t(count));
    while (series.stopIndex < 0 && qsizetype(series.texts.size()) < count) {
        const qsizetype k = qsizetype(series.texts.size());
        const double value = start + step * double(k);
        if (k > 0 && value == 0) {
            series.stopIndex = k;
            break;
        }
        series.texts.push_back(numberText(value, zeros));
    }
    return m_texts;
}

QString NumberSeries::numberText(double value, double zeros)
{
    QString text = plainNumberText(value);
    const double width = zeros + 1;
    if (double(text.size()) < width) {
        const double missing = width - double(text.size());
        const int fill = missing >= 16 ? 16 : int(std::nearbyint(missing));
        if (fill > 0)
            text.prepend(QString(fill, u'0'));
    }
    return text;
}

} // namespace lorvane
