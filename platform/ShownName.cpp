#include "ShownName.h"

#include <cstring>

namespace lorvane {

namespace {

enum class Mark { None, Picture, CodePoint, Byte };

Mark markOf(char16_t c)
{
    if (c < 0x20 || c == 0x7f)
        return Mark::Picture;
    if (c < 0x80)
        return Mark::None;
    if (c < 0xa0)
        return Mark::CodePoint;
    switch (c) {
    case 0x061c: // ARABIC LETTER MARK
    case 0x200e:
    case 0x200f:
    case 0x2028: // LINE SEPARATOR
    case 0x2029: // PARAGRAPH SEPARATOR
        return Mark::CodePoint;
    default:
        break;
    }
    if ((c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069))
        return Mark::CodePoint;
    if (c >= 0xdc80 && c <= 0xdcff)
        return Mark::Byte;
    return Mark::None;
}

QString hex(uint value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

bool needsMarks(const QString &name)
{
    const QChar *chars = name.constData();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = chars[i].unicode();
        if (markOf(c) == Mark::None)
            continue;
        // A valid surrogate pair never decodes to a byte escape: only a lone
        // low surrogate stands for a raw byte.
        if (markOf(c) == Mark::Byte && i > 0 && chars[i - 1].isHighSurrogate())
            continue;
        return true;
    }
    return false;
}

QString shownName(const QString &name)
{
    if (!needsMarks(name))
        return name;
    QString shown;
    shown.reserve(name.size() + 16);
    const QChar *chars = name.constData();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = chars[i].unicode();
        const Mark mark = markOf(c);
        if (mark == Mark::None || (mark == Mark::Byte && i > 0 && chars[i - 1].isHighSurrogate())) {
            shown += chars[i];
            continue;
        }
        switch (mark) {
        case Mark::Picture:
            shown += QChar(c == 0x7f ? char16_t(0x2421) : char16_t(0x2400 + c));
            break;
        case Mark::CodePoint:
            shown += QStringLiteral("⟨U+%1⟩").arg(hex(c, 4));
            break;
        case Mark::Byte:
            shown += QStringLiteral("⟨x%1⟩").arg(hex(c - 0xdc00, 2));
            break;
        case Mark::None:
            break;
        }
    }
    return shown;
}

QString isolatedName(const QString &name)
{
    return QChar(0x2068) + shownName(name) + QChar(0x2069);
}

QString systemErrorText(int error)
{
    return QStringLiteral("خطأ من النظام: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace lorvane
