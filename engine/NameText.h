#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// Text helpers of the rename rules. All are pure; lengths and
// positions count UTF-16 code units, as QString does.
namespace lorvane {

// Removes U+0020 SPACE from both ends, and nothing else: the rules' "trim" keeps
// tabs, no-break spaces and every other character.
[[nodiscard]] QString trimSpaces(const QString &text);
// True when the text is empty or made only of U+0020 SPACE.
[[nodiscard]] bool isBlank(QStringView text);

// The length of the name's dotted extension: "." and the text after the last dot
// of the name, or 0 when that text is empty or the name has no dot. The rest is the
// base name: notes.txt -> notes + .txt, report.old.doc -> report.old + .doc,
// photo. -> photo. and no extension, .cfg -> "" + .cfg.
[[nodiscard]] qsizetype dottedExtensionLength(QStringView name);

// Letter case by the simple, locale-independent mapping of every code point, so
// that a name never changes length under a case rule: the result always has the length of the
// input, "ß" stays "ß", and there is no Turkish dotted i. A mapping that would change the UTF-16
// length of a code point is not applied. When nothing changes, the input is returned
// (shared, no copy).
[[nodiscard]] QString toCapitalLetters(const QString &text);
[[nodiscard]] QString toSmallLetters(const QString &text);
// The same mapping written into text itself (no copy when text is not shared);
// returns whether anything changed.
bool mapLettersInPlace(QString &text, bool capital);
// True when toCapitalLetters / toSmallLetters would change the text.
[[nodiscard]] bool hasLettersToMap(QStringView text, bool capital);

// The capital form of the code point that starts at index i of text, written back in
// place; returns false (and leaves text alone) where there is no same-length capital
// form. i must be the start of a code point.
bool capitaliseAt(QString &text, qsizetype i);

// True for a plain signed decimal number with an optional fraction, with optional
// spaces around it: "5", "-3", "+2", "0.5", "5.", ".5", " 7 ".
// Not numeric: "", "-", ".", "1e3", "1,000", "0x10", "5 6".
[[nodiscard]] bool isNumericText(QStringView text);

// The value read from the start of a text: spaces are skipped, then an
// optional sign, digits, an optional "." and digits; reading stops at the first
// character that cannot continue the number. No leading number gives 0.
[[nodiscard]] double leadingNumberValue(QStringView text);

// The plain decimal text of a number: whole values up to 2^53 with all their digits
// and a leading "-" when negative; other values rounded to 15 significant digits,
// fractional ones with "." and their fractional digits; never an exponent, never
// grouping, never "-0".
[[nodiscard]] QString plainNumberText(double value);

// The replace pair's split of an entry at a search text. There is no limit on the
// number of occurrences: every one is taken out and can be put back exactly.
struct SplitPieces
{
    // Number of occurrences taken out; -1 when nothing was split (empty or
    // spaces-only search text or entry, or no occurrence).
    int count = -1;
    // The entry without the occurrences (the pieces joined in order).
    QString stripped;
    // Length of each piece between the occurrences: count + 1 values.
    std::vector<int> pieceLengths;
};

// Splits text at every occurrence of search (exact, case-sensitive, left to right,
// not overlapping). When avoidInside is given, an occurrence that would strictly
// contain that position (start < avoidInside < end) is not taken; the search goes on
// one character later. The engine uses this to keep a running number whole.
[[nodiscard]] SplitPieces SplitCount(const QString &text, const QString &search,
                                     qsizetype avoidInside = -1);

} // namespace lorvane
