#include "PrivateProfile.h"

#include "DosAttributes.h"
#include "FileNameCodec.h"
#include "FolderHandle.h"

#include <QFile>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lorvane {

namespace {

struct Line
{
    QByteArray text; // without its line ending
    QByteArray ending;
};

QList<Line> splitLines(const QByteArray &data)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0) {
            lines.append({data.mid(start), QByteArray()});
            break;
        }
        qsizetype textEnd = end;
        if (textEnd > start && data[textEnd - 1] == '\r')
            --textEnd;
        lines.append({data.mid(start, textEnd - start), data.mid(textEnd, end + 1 - textEnd)});
        start = end + 1;
    }
    return lines;
}

// Spaces and tabs only: the bytes of a name are otherwise taken as they are.
QByteArray trimmed(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.mid(begin, end - begin);
}

std::optional<QByteArray> sectionName(const QByteArray &line)
{
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmed(t.mid(1, close - 1));
}

std::optional<QByteArray> keyName(const QByteArray &line)
{
    const QByteArray t = trimmed(line);
    if (t.startsWith(';') || t.startsWith('#'))
        return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return trimmed(t.first(eq));
}

bool breaksStructure(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
           text.contains(QChar(0));
}

} // namespace

std::optional<QByteArray> withProfileString(const QByteArray &original, const QString &section,
                                            const QString &key, const QString &value,
                                            LineEnding newFileEnding)
{
    if (breaksStructure(section) || breaksStructure(key) || breaksStructure(value))
        return std::nullopt;
    if (section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        return std::nullopt;
    const QByteArray wantSection = trimmed(section.toUtf8());
    const QByteArray wantKey = trimmed(key.toUtf8());
    if (wantKey.isEmpty() || wantKey.startsWith('[') || wantKey.startsWith(';'))
        return std::nullopt;
    const QByteArray newLine = wantKey + '=' + value.toUtf8();

    QList<Line> lines = splitLines(original);
    QByteArray ending = newFileEnding == LineEnding::CrLf ? "\r\n" : "\n";
    for (const Line &line : lines) {
        if (!line.ending.isEmpty()) {
            ending = line.ending;
            break;
        }
    }

    qsizetype sectionAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (name && name->compare(wantSection, Qt::CaseInsensitive) == 0) {
            sectionAt = i;
            break;
        }
    }

    if (sectionAt < 0) {
        if (!lines.isEmpty() && lines.last().ending.isEmpty())
            lines.last().ending = ending;
        lines.append({'[' + wantSection + ']', ending});
        lines.append({newLine, ending});
    } else {
        // The new key goes after the section's last non-blank line, so that
        // blank lines before the next section stay where they are.
        qsizetype insertAt = sectionAt + 1;
        bool replaced = false;
        for (qsizetype i = sectionAt + 1; i < lines.size(); ++i) {
            if (sectionName(lines[i].text))
                break;
            const auto name = keyName(lines[i].text);
            if (name && name->compare(wantKey, Qt::CaseInsensitive) == 0) {
                lines[i].text = newLine;
                replaced = true;
                break;
            }
            if (!trimmed(lines[i].text).isEmpty())
                insertAt = i + 1;
        }
        if (!replaced) {
            if (lines[insertAt - 1].ending.isEmpty())
                lines[insertAt - 1].ending = ending;
            lines.insert(insertAt, {newLine, ending});
        }
    }

    QByteArray result;
    result.reserve(original.size() + newLine.size() + wantSection.size() + 8);
    for (const Line &line : lines)
        result += line.text + line.ending;
    return result;
}

ServiceResult writePrivateProfileString(const QString &section, const QString &key,
                                        const QString &value, const FolderHandle &folder,
                                        const QString &name, LineEnding newFileEnding)
{
    const QString shown = folder.filePath(name);
    const FolderHandle::Opened existing = folder.openExisting(name);
    if (!existing.result.ok())
        return existing.result;
    const bool existed = existing.fd >= 0;
    QByteArray original;
    std::optional<QByteArray> attributes;
    if (existed) {
        QFile in;
        const bool read = in.open(existing.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        if (read)
            original = in.readAll();
        attributes = readRawDosAttrib(existing.fd);
        if (!read || in.error() != QFileDevice::NoError)
            return ServiceResult::failure(in.errorString() + QStringLiteral(": ") + shown);
        // A write-protected file stays as it is, as Windows keeps it.
        if (::faccessat(folder.fd(), encodeFileName(name).constData(), W_OK,
                        AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
            return ServiceResult::fromErrno(errno, shown);
    }
    // Windows writes desktop.ini as UTF-16 when a name needs it, and some
    // editors put a byte order mark before UTF-8: both are edited as UTF-8
    // text and written back in their own form.
    enum class Form { Bytes, Utf8Bom, Utf16Le } form = Form::Bytes;
    QByteArray text = original;
    if (original.startsWith("\xEF\xBB\xBF")) {
        form = Form::Utf8Bom;
        text = original.mid(3);
    } else if (original.startsWith("\xFF\xFE")) {
        form = Form::Utf16Le;
        const QByteArray units = original.mid(2);
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(units.constData()),
                                  units.size() / 2)
                   .toUtf8();
    }
    auto edited = withProfileString(text, section, key, value, newFileEnding);
    if (edited && form == Form::Utf8Bom)
        edited->prepend("\xEF\xBB\xBF");
    if (edited && form == Form::Utf16Le) {
        const QString decoded = QString::fromUtf8(*edited);
        *edited = QByteArray("\xFF\xFE") +
                  QByteArray(reinterpret_cast<const char *>(decoded.utf16()), decoded.size() * 2);
    }
    if (!edited)
        return ServiceResult::failure(QStringLiteral("Refused line break or separator in \"") +
                                      key + QStringLiteral("\": ") + shown);
    if (existed && *edited == original)
        return ServiceResult::success();
    return folder.replaceFile(name, *edited,
                              existed ? std::optional<mode_t>(existing.mode) : std::nullopt,
                              attributes.value_or(QByteArray()));
}

ServiceResult writePrivateProfileString(const QString &section, const QString &key,
                                        const QString &value, const QString &fileName,
                                        LineEnding newFileEnding)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const FolderHandle folder(slash < 0    ? QStringLiteral(".")
                              : slash == 0 ? QStringLiteral("/")
                                           : fileName.left(slash));
    if (!folder.status().ok())
        return folder.status();
    return writePrivateProfileString(section, key, value, folder, fileName.mid(slash + 1),
                                     newFileEnding);
}

} // namespace lorvane
