#include "DosAttributes.h"

#include "FileNameCodec.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace lorvane {

namespace {

// The bits that the file system itself answers for.
constexpr quint32 DerivedBits = dos::ReadOnly | dos::Directory | dos::Compressed;

quint32 readLe32(QByteArrayView b, qsizetype at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

quint16 readLe16(QByteArrayView b, qsizetype at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<quint32> parseHexText(QByteArrayView text)
{
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    const QByteArrayView digits = text.sliced(2);
    if (digits.size() > 8)
        return std::nullopt;
    quint32 word = 0;
    for (const char c : digits) {
        const int value = hexDigit(c);
        if (value < 0)
            return std::nullopt;
        word = word << 4 | quint32(value);
    }
    return word;
}

// Samba's binary form, little-endian: the hex string with its NUL, padded to
// an even length; the version (16 bits); the union's level (32 bits, equal to
// the version); then the version's record. Versions 2 to 5 begin with a word
// of valid-field flags before the attribute, version 1 with the attribute.
std::optional<quint32> parseBinary(QByteArrayView blob, qsizetype nul)
{
    qsizetype at = nul + 1;
    at += at & 1;
    if (blob.size() < at + 6)
        return std::nullopt;
    const quint16 version = readLe16(blob, at);
    if (readLe32(blob, at + 2) != version)
        return std::nullopt;
    at += 6;
    if (version == 1) {
        if (blob.size() < at + 4)
            return std::nullopt;
        return readLe32(blob, at);
    }
    if (version < 2 || version > 5 || blob.size() < at + 8)
        return std::nullopt;
    constexpr quint32 AttribValid = 0x1;
    // The oldest record with flags predates them being checked.
    if (version != 2 && !(readLe32(blob, at) & AttribValid))
        return std::nullopt;
    return readLe32(blob, at + 4);
}

// A file named by its path (links followed) or already open.
struct Target
{
    int fd = -1;
    QByteArray path; // the native path when fd < 0
};

struct FileFacts
{
    bool isDirectory = false;
    bool ownerWritable = false;
    bool compressed = false;
    mode_t mode = 0;
};

std::optional<FileFacts> factsOf(const Target &t, int *error)
{
    struct statx sx = {};
    const int status = t.fd >= 0
                           ? ::statx(t.fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_MODE, &sx)
                           : ::statx(AT_FDCWD, t.path.constData(), 0, STATX_TYPE | STATX_MODE, &sx);
    if (status != 0) {
        *error = errno;
        return std::nullopt;
    }
    FileFacts facts;
    facts.mode = sx.stx_mode;
    facts.isDirectory = S_ISDIR(sx.stx_mode);
    facts.ownerWritable = sx.stx_mode & S_IWUSR;
    facts.compressed = (sx.stx_attributes_mask & STATX_ATTR_COMPRESSED) &&
                       (sx.stx_attributes & STATX_ATTR_COMPRESSED);
    return facts;
}

ssize_t getRaw(const Target &t, char *data, size_t size)
{
    return t.fd >= 0 ? ::fgetxattr(t.fd, DosAttribXattrName, data, size)
                     : ::getxattr(t.path.constData(), DosAttribXattrName, data, size);
}

std::optional<QByteArray> rawOf(const Target &t)
{
    QByteArray blob(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = getRaw(t, blob.data(), size_t(blob.size()));
        if (n >= 0) {
            blob.truncate(n);
            return blob;
        }
        if (errno != ERANGE)
            return std::nullopt;
        const ssize_t need = getRaw(t, nullptr, 0);
        if (need < 0)
            return std::nullopt;
        blob.resize(need + 1);
    }
}

int setRaw(const Target &t, const QByteArray &blob)
{
    const int status =
        t.fd >= 0 ? ::fsetxattr(t.fd, DosAttribXattrName, blob.constData(), size_t(blob.size()), 0)
                  : ::setxattr(t.path.constData(), DosAttribXattrName, blob.constData(),
                               size_t(blob.size()), 0);
    return status == 0 ? 0 : errno;
}

int changeMode(const Target &t, mode_t mode)
{
    const int status = t.fd >= 0 ? ::fchmod(t.fd, mode) : ::chmod(t.path.constData(), mode);
    return status == 0 ? 0 : errno;
}

// Only the owner (or root) may set a user attribute on a file it cannot
// write, and then only after lending itself the write permission.
int setRawLendingWrite(const Target &t, const QByteArray &blob, const FileFacts &facts)
{
    int error = setRaw(t, blob);
    if (error != EACCES || facts.ownerWritable)
        return error;
    if (changeMode(t, facts.mode | S_IWUSR) != 0)
        return error;
    error = setRaw(t, blob);
    (void)changeMode(t, facts.mode & 07777);
    return error;
}

DosAttributesRead readWord(const Target &t, const QString &path)
{
    int error = 0;
    const auto facts = factsOf(t, &error);
    if (!facts)
        return {ServiceResult::fromErrno(error, path), 0};
    quint32 word = 0;
    if (const auto raw = rawOf(t)) {
        if (const auto stored = parseDosAttrib(*raw))
            word = *stored & ~DerivedBits;
    }
    if (!facts->ownerWritable)
        word |= dos::ReadOnly;
    if (facts->isDirectory)
        word |= dos::Directory;
    if (facts->compressed)
        word |= dos::Compressed;
    if (word == 0)
        word = dos::Normal;
    return {ServiceResult::success(), word};
}

ServiceResult writeWord(const Target &t, const QString &path, quint32 word)
{
    int error = 0;
    const auto facts = factsOf(t, &error);
    if (!facts)
        return ServiceResult::fromErrno(error, path);

    constexpr quint32 Shown = dos::ReadOnly | dos::Hidden | dos::System | dos::Directory |
                              dos::Archive | dos::Normal | dos::Temporary | dos::Compressed;
    quint32 stored = word & Shown & ~(dos::Directory | dos::Compressed);
    const auto raw = rawOf(t);
    if (raw) {
        if (const auto old = parseDosAttrib(*raw))
            stored |= *old & ~Shown;
    }
    if (facts->isDirectory)
        stored |= dos::Directory;

    const bool wantReadOnly = word & dos::ReadOnly;
    FileFacts now = *facts;
    if (!wantReadOnly && !facts->ownerWritable) {
        if (const int failed = changeMode(t, (facts->mode & 07777) | S_IWUSR))
            return ServiceResult::fromErrno(failed, path);
        now.ownerWritable = true;
        now.mode |= S_IWUSR;
    }

    error = setRawLendingWrite(t, legacyDosAttribText(stored), now);
    // A file system without user attributes can still hold a word that the
    // permissions alone express.
    const bool needsStore = (stored & ~(dos::ReadOnly | dos::Directory | dos::Normal)) != 0;
    if (error != 0 && (error != ENOTSUP || needsStore || raw))
        return ServiceResult::fromErrno(error, path);

    if (wantReadOnly && now.ownerWritable) {
        if (const int failed =
                changeMode(t, now.mode & 07777 & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)))
            return ServiceResult::fromErrno(failed, path);
    }
    return ServiceResult::success();
}

ServiceResult addBits(const Target &t, const QString &path, quint32 bits)
{
    const DosAttributesRead current = readWord(t, path);
    if (!current.result.ok())
        return current.result;
    quint32 word = current.word | bits;
    if (word & ~dos::Normal)
        word &= ~dos::Normal;
    return writeWord(t, path, word);
}

Target byPath(const QString &path)
{
    return {-1, encodeFileName(path)};
}

} // namespace

std::optional<quint32> parseDosAttrib(QByteArrayView blob)
{
    const qsizetype nul = blob.indexOf('\0');
    if (nul < 0)
        return parseHexText(blob);
    // The legacy form is the text and its NUL and nothing after.
    if (nul + 1 == blob.size())
        return parseHexText(blob.first(nul));
    if (const auto binary = parseBinary(blob, nul))
        return binary;
    return parseHexText(blob.first(nul));
}

QByteArray legacyDosAttribText(quint32 word)
{
    QByteArray text = "0x" + QByteArray::number(word, 16);
    text.append('\0');
    return text;
}

DosAttributesRead readDosAttributes(const QString &path)
{
    return readWord(byPath(path), path);
}

ServiceResult writeDosAttributes(const QString &path, quint32 word)
{
    return writeWord(byPath(path), path, word);
}

ServiceResult writeDosAttributes(int fd, const QString &path, quint32 word)
{
    return writeWord({fd, {}}, path, word);
}

ServiceResult addDosAttributes(const QString &path, quint32 bits)
{
    return addBits(byPath(path), path, bits);
}

ServiceResult addDosAttributes(int fd, const QString &path, quint32 bits)
{
    return addBits({fd, {}}, path, bits);
}

std::optional<QByteArray> readRawDosAttrib(const QString &path)
{
    return rawOf(byPath(path));
}

std::optional<QByteArray> readRawDosAttrib(int fd)
{
    return rawOf({fd, {}});
}

ServiceResult writeRawDosAttrib(const QString &path, const QByteArray &blob)
{
    const int error = setRaw(byPath(path), blob);
    if (error != 0)
        return ServiceResult::fromErrno(error, path);
    return ServiceResult::success();
}

ServiceResult writeRawDosAttrib(int fd, const QString &path, const QByteArray &blob)
{
    const int error = setRaw({fd, {}}, blob);
    if (error != 0)
        return ServiceResult::fromErrno(error, path);
    return ServiceResult::success();
}

} // namespace lorvane
