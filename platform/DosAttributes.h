#pragma once

#include "ServiceResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The Windows file attribute word on Linux. Three of its bits are facts of the
// file system and are always read from it: read-only is the lack of the
// owner's write permission, folder is being a directory, compressed is the
// file system's compression flag (statx). The whole word is kept in the
// extended attribute user.DOSATTRIB, where Samba keeps it too, so that hidden,
// system, archive, normal and temporary survive and files shared with Windows
// machines show their real attributes.
namespace lorvane {

namespace dos {
inline constexpr quint32 ReadOnly = 0x1;
inline constexpr quint32 Hidden = 0x2;
inline constexpr quint32 System = 0x4;
inline constexpr quint32 Directory = 0x10;
inline constexpr quint32 Archive = 0x20;
inline constexpr quint32 Normal = 0x80;
inline constexpr quint32 Temporary = 0x100;
inline constexpr quint32 Compressed = 0x800;
} // namespace dos

inline constexpr char DosAttribXattrName[] = "user.DOSATTRIB";

struct [[nodiscard]] DosAttributesRead
{
    ServiceResult result = ServiceResult::success();
    quint32 word = 0;
};

// The attribute word of `path` (symbolic links followed). With no word
// stored, a file that has none of the bits reads as normal (0x80), as
// Windows reports it.
DosAttributesRead readDosAttributes(const QString &path);

// Sets the attribute word of `path`. Read-only becomes the owner's write
// permission; folder and compressed are never written (they describe the
// file); bits this word does not speak for that are already stored are kept.
// The word is stored in the legacy text form, which every Samba reads.
ServiceResult writeDosAttributes(const QString &path, quint32 word);

// Adds `bits` to the attribute word of `path`, keeping the others.
ServiceResult addDosAttributes(const QString &path, quint32 bits);

// The same for a file already open as `fd`, which no link planted under its
// name can redirect; `path` names it in a failure.
ServiceResult writeDosAttributes(int fd, const QString &path, quint32 word);
ServiceResult addDosAttributes(int fd, const QString &path, quint32 bits);

// The stored form, for carrying it over when a file is rewritten: nullopt
// when `path` has none.
std::optional<QByteArray> readRawDosAttrib(const QString &path);
std::optional<QByteArray> readRawDosAttrib(int fd);
ServiceResult writeRawDosAttrib(const QString &path, const QByteArray &blob);
ServiceResult writeRawDosAttrib(int fd, const QString &path, const QByteArray &blob);

// Decodes a stored value: the legacy text form "0x.." (with or without its
// NUL) or the binary form that current Samba writes (an often empty hex
// string, a version number and the attribute field). nullopt when the value
// is neither or says its attribute field is not valid.
std::optional<quint32> parseDosAttrib(QByteArrayView blob);

// The legacy text form of `word`, NUL included as Samba writes it.
QByteArray legacyDosAttribText(quint32 word);

} // namespace lorvane
