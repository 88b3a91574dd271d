#include "NameText.h"

#include <QChar>

#include <cmath>

namespace lorvane {

namespace {

QStringView trimmedView(QStringView text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == u' ')
        ++first;
    while (end > first && text[end - 1] == u' ')
        --end;
    return text.sliced(first, end - first);
}

// The code point at i and the number of code units it takes.
char32_t codePointAt(QStringView text, qsizetype i, int *units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *units = 1;
    return c.unicode();
}

// QChar leaves the letters whose full mapping takes several characters unmapped; for
// these few the simple (one-letter) mapping is taken from the character tables here.
char32_t simpleMappingQtLeavesOut(char32_t cp, bool capital)
{
    const auto in = [cp](char32_t first, char32_t last) { return cp >= first && cp <= last; };
    if (capital) {
        // Greek letters with ypogegrammeni and their capital with prosgegrammeni.
        if (in(0x1F80, 0x1F87) || in(0x1F90, 0x1F97) || in(0x1FA0, 0x1FA7))
            return cp + 8;
        if (cp == 0x1FB3 || cp == 0x1FC3 || cp == 0x1FF3)
            return cp + 9;
        return cp;
    }
    if (cp == 0x0130) // capital I with dot above
        return u'i';
    if (in(0x1F88, 0x1F8F) || in(0x1F98, 0x1F9F) || in(0x1FA8, 0x1FAF))
        return cp - 8;
    if (cp == 0x1FBC || cp == 0x1FCC || cp == 0x1FFC)
        return cp - 9;
    return cp;
}

// The simple mapping of one code point, or the code point itself when the mapping
// would change its UTF-16 length.
char32_t mapped(char32_t cp, bool capital)
{
    char32_t m = capital ? QChar::toUpper(cp) : QChar::toLower(cp);
    if (m == cp)
        m = simpleMappingQtLeavesOut(cp, capital);
    if (QChar::requiresSurrogates(m) != QChar::requiresSurrogates(cp))
        return cp;
    return m;
}

void writeCodePoint(QString &text, qsizetype i, char32_t cp)
{
    if (QChar::requiresSurrogates(cp)) {
        text[i] = QChar(QChar::highSurrogate(cp));
        text[i + 1] = QChar(QChar::lowSurrogate(cp));
        return;
    }
    text[i] = QChar(char16_t(cp));
}

// Index of the first code point that the mapping changes, or the text's length.
qsizetype firstToMap(QStringView text, bool capital)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i < n;) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            if (capital ? (u >= u'a' && u <= u'z') : (u >= u'A' && u <= u'Z'))
                break;
            ++i;
            continue;
        }
        int units = 1;
        const char32_t cp = codePointAt(text, i, &units);
        if (mapped(cp, capital) != cp)
            break;
        i += units;
    }
    return i;
}

// Maps text from index i on, in place; i is where the first change is.
void mapFrom(QString &text, qsizetype i, bool capital)
{
    const qsizetype n = text.size();
    QChar *data = text.data();
    for (; i < n;) {
        const char16_t u = data[i].unicode();
        if (u < 0x80) {
            if (capital && u >= u'a' && u <= u'z')
                data[i] = QChar(char16_t(u - (u'a' - u'A')));
            else if (!capital && u >= u'A' && u <= u'Z')
                data[i] = QChar(char16_t(u + (u'a' - u'A')));
            ++i;
            continue;
        }
        int units = 1;
        const char32_t cp = codePointAt(text, i, &units);
        const char32_t m = mapped(cp, capital);
        if (m != cp)
            writeCodePoint(text, i, m);
        i += units;
    }
}

QString mapCase(const QString &text, bool capital)
{
    // Most names need no copy at all.
    const qsizetype i = firstToMap(text, capital);
    if (i == text.size())
        return text;
    QString result = text;
    mapFrom(result, i, capital);
    return result;
}

// The length of the plain decimal number at the start of text: an optional sign,
// digits, an optional "." and digits; 0 when there is no digit.
qsizetype numberLength(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    int digits = 0;
    const auto skipDigits = [&] {
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            ++digits;
        }
    };
    skipDigits();
    if (i < text.size() && text[i] == u'.') {
        ++i;
        skipDigits();
    }
    return digits > 0 ? i : 0;
}

} // namespace

QString trimSpaces(const QString &text)
{
    const QStringView view = trimmedView(text);
    if (view.size() == text.size())
        return text;
    return view.toString();
}

bool isBlank(QStringView text)
{
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

qsizetype dottedExtensionLength(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || dot == name.size() - 1)
        return 0;
    return name.size() - dot;
}

QString toCapitalLetters(const QString &text)
{
    return mapCase(text, true);
}

QString toSmallLetters(const QString &text)
{
    return mapCase(text, false);
}

bool mapLettersInPlace(QString &text, bool capital)
{
    const qsizetype i = firstToMap(text, capital);
    if (i == text.size())
        return false;
    mapFrom(text, i, capital);
    return true;
}

bool hasLettersToMap(QStringView text, bool capital)
{
    return firstToMap(text, capital) < text.size();
}

bool capitaliseAt(QString &text, qsizetype i)
{
    int units = 1;
    const char32_t cp = codePointAt(text, i, &units);
    const char32_t m = mapped(cp, true);
    if (m == cp)
        return false;
    writeCodePoint(text, i, m);
    return true;
}

bool isNumericText(QStringView text)
{
    const QStringView t = trimmedView(text);
    const qsizetype length = numberLength(t);
    return length > 0 && length == t.size();
}

double leadingNumberValue(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ')
        ++start;
    const QStringView rest = text.sliced(start);
    const qsizetype length = numberLength(rest);
    if (length == 0)
        return 0;
    bool ok = false;
    const double value = rest.first(length).toDouble(&ok);
    return ok ? value : 0;
}

QString plainNumberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        return QString::number(value);
    // Up to 2^53 every whole number is held exactly, so it is written with all its
    // digits; rounding it would give two entries the same number.
    if (std::fabs(value) <= 9007199254740992.0 && value == std::trunc(value))
        return QString::number(qint64(value));
    // Round to 15 significant digits through the exponent form, then write it out
    // without the exponent.
    const QString e = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde+XX
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.first(ePos);
    digits.remove(1, 1);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const int exponent = e.sliced(ePos + 1).toInt();
    QString text;
    if (exponent >= 0) {
        if (digits.size() <= exponent + 1) {
            text = digits + QString(exponent + 1 - digits.size(), u'0');
        } else {
            text = digits.first(exponent + 1) + u'.' + digits.sliced(exponent + 1);
        }
    } else {
        text = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    }
    if (value < 0)
        text.prepend(u'-');
    return text;
}

SplitPieces SplitCount(const QString &text, const QString &search, qsizetype avoidInside)
{
    SplitPieces result;
    if (isBlank(search) || isBlank(text))
        return result;
    const qsizetype length = search.size();
    qsizetype pieceStart = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype match = text.indexOf(search, from);
        if (match < 0)
            break;
        if (avoidInside > match && avoidInside < match + length) {
            from = match + 1;
            continue;
        }
        result.pieceLengths.push_back(int(match - pieceStart));
        pieceStart = match + length;
        from = pieceStart;
    }
    if (result.pieceLengths.empty())
        return result;
    result.pieceLengths.push_back(int(text.size() - pieceStart));
    result.count = int(result.pieceLengths.size()) - 1;
    result.stripped.reserve(text.size() - result.count * length);
    qsizetype at = 0;
    for (int pieceLength : result.pieceLengths) {
        result.stripped.append(QStringView(text).sliced(at, pieceLength));
        at += pieceLength + length;
    }
    return result;
}

} // namespace lorvane
