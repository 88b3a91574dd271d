#include "FileNameCodec.h"

#include <algorithm>

namespace lorvane {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscape(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when the byte
// there does not start one (stray continuation byte, overlong form, encoded
// surrogate, beyond U+10FFFF, truncated sequence).
qsizetype validSequenceLength(QByteArrayView bytes, qsizetype i, char32_t &codePoint)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    qsizetype len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > bytes.size())
        return 0;
    for (qsizetype k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    codePoint = cp;
    return len;
}

void appendUtf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out.append(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.append(static_cast<char>(0xC0 | (cp >> 6)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(static_cast<char>(0xE0 | (cp >> 12)));
        out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (cp >> 18)));
        out.append(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QString decodeFileName(QByteArrayView bytes)
{
    // Exactly as long as the name: a folder's names are held a million at a time.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    QString out;
    appendDecodedFileName(out, bytes);
    return out;
}

void appendDecodedFileName(QString &out, QByteArrayView bytes)
{
    if (isAscii(bytes)) {
        out.append(QLatin1StringView(bytes.data(), bytes.size()));
        return;
    }

    // Only a fresh string is sized here: growing a shared buffer name by name to
    // the exact size would copy it again for every name.
    if (out.isEmpty())
        out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(b));
            ++i;
            continue;
        }
        char32_t cp = 0;
        const qsizetype len = validSequenceLength(bytes, i, cp);
        if (len == 0) {
            out.append(QChar(static_cast<char16_t>(EscapeBase + b)));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(static_cast<char16_t>(cp)));
        }
        i += len;
    }
}

QByteArray encodeFileName(const QString &name)
{
    const qsizetype n = name.size();
    const auto *units = reinterpret_cast<const char16_t *>(name.constData());
    qsizetype plain = 0;
    while (plain < n && units[plain] < 0x80)
        ++plain;
    if (plain == n) {
        // Nearly every name: one byte a character, nothing to look up.
        QByteArray out(n, Qt::Uninitialized);
        std::copy(units, units + n, out.data());
        return out;
    }
    QByteArray out;
    out.reserve(n * 3);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(c, name.at(i + 1).unicode()));
            ++i;
            continue;
        }
        if (isEscape(c)) {
            out.append(static_cast<char>(c - EscapeBase));
            continue;
        }
        // Any other lone surrogate cannot come from a decoded name; it has no
        // UTF-8 form, so it is written as the replacement character.
        appendUtf8(out, QChar::isSurrogate(c) ? char32_t(0xFFFD) : char32_t(c));
    }
    return out;
}

bool hasEscapedBytes(const QString &name)
{
    for (QChar c : name) {
        if (isEscape(c.unicode()))
            return true;
    }
    return false;
}

QUrl localFileUrl(const QString &path)
{
    return QUrl::fromEncoded("file://" + encodeFileName(path).toPercentEncoding("/"),
                             QUrl::StrictMode);
}

} // namespace lorvane
