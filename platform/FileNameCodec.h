#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

// Linux file names are byte strings; most are UTF-8, some are not. The program
// shows and edits names as QString, so every on-disk name must survive the trip
// to QString and back byte for byte.
//
// decodeFileName() decodes valid UTF-8 as usual and maps each byte that is not
// part of a valid UTF-8 sequence to the lone low surrogate U+DC80 + (byte - 0x80)
// (bytes below 0x80 are always valid). encodeFileName() reverses that: a lone
// surrogate in U+DC80..U+DCFF becomes its byte again, everything else is encoded
// as UTF-8. Valid UTF-8 never decodes to a lone surrogate, so
// encodeFileName(decodeFileName(b)) == b for every byte string b.
namespace lorvane {

[[nodiscard]] QString decodeFileName(QByteArrayView bytes);
// The same decoding, appended to `out`: a folder's names can then share one buffer.
void appendDecodedFileName(QString &out, QByteArrayView bytes);
[[nodiscard]] QByteArray encodeFileName(const QString &name);

// True when every byte is below 0x80, as in nearly every name: such a name
// decodes to one code unit a byte.
[[nodiscard]] bool isAscii(QByteArrayView bytes);

// True when the name holds bytes that are not valid UTF-8 (decoded as escapes).
[[nodiscard]] bool hasEscapedBytes(const QString &name);

// The file: URL of an absolute path, percent-encoded from its exact bytes, so
// that a program handed the URL finds the same file even when the path is not
// valid UTF-8 (QUrl::fromLocalFile would replace such bytes).
[[nodiscard]] QUrl localFileUrl(const QString &path);

} // namespace lorvane
