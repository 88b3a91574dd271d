#pragma once

#include "ServiceResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Writing one key of an ini file the way Windows programs expect it: the file
// and the section are created when missing, an existing key's value is
// replaced in place, and every other line (other keys, other sections,
// comments, blank lines, line endings, bytes that are not UTF-8) is kept as
// it was. Section and key names are matched without regard to ASCII letter
// case, with spaces around them ignored.
namespace lorvane {

class FolderHandle;

enum class LineEnding { CrLf, Lf };

// The new contents of an ini file after setting `key` in `section` to
// `value`; `original` is empty for a missing file, which then gets
// `newFileEnding`; an existing file keeps its own. nullopt when the names
// or the value would break the file's structure: a line break or NUL
// anywhere, an empty key, "=" in the key or "]" in the section.
std::optional<QByteArray> withProfileString(const QByteArray &original, const QString &section,
                                            const QString &key, const QString &value,
                                            LineEnding newFileEnding);

// Reads, edits and saves the file `name` of `folder` with
// withProfileString(); a file in UTF-16 (little-endian, with its byte order
// mark, as Windows writes desktop.ini for names outside its code page) or
// UTF-8 with a byte order mark is edited as text and keeps its form. The
// file is replaced whole, so that a failing write never leaves half a file;
// its permissions and stored attribute word are carried over. Nothing is
// read or written through a link (FolderHandle). Refused names, a link or
// other file that is not a plain one, an unreadable or write-protected file
// and a failed save are reported.
ServiceResult writePrivateProfileString(const QString &section, const QString &key,
                                        const QString &value, const FolderHandle &folder,
                                        const QString &name,
                                        LineEnding newFileEnding = LineEnding::CrLf);
// The same for the file at `fileName`.
ServiceResult writePrivateProfileString(const QString &section, const QString &key,
                                        const QString &value, const QString &fileName,
                                        LineEnding newFileEnding = LineEnding::CrLf);

} // namespace lorvane
