#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace lorvane {

// The running numbers of the numbering rule for one start, step and zero fill,
// formatted as far as an apply needed them. The texts depend only on those three
// values, so they are kept for the next apply: a keystroke in another rule then
// numbers without formatting anything.
class NumberSeries
{
public:
    struct Texts
    {
        double start = 0;
        double step = 0;
        double zeros = 0;
        // texts[k]: the number text of entry k.
        std::vector<QString> texts;
        // The first index k > 0 whose value is 0, where numbering stops; -1 while
        // not reached.
        qsizetype stopIndex = -1;
    };

    // The texts for the first `count` entries (fewer when numbering stops before).
    // The same object is returned, grown as needed, while the values stay the same.
    [[nodiscard]] std::shared_ptr<const Texts> textsFor(double start, double step, double zeros,
                                                        qsizetype count);

    // The text of one value with the zero fill: zeros + 1 is the width that
    // zeros are put in front to reach, at most 16 of them. Every character counts,
    // the minus sign and the decimal point included.
    [[nodiscard]] static QString numberText(double value, double zeros);

private:
    std::shared_ptr<Texts> m_texts;
};

} // namespace lorvane
