#pragma once

#include <QString>

// How a file name or path is shown to a person. What is stored and renamed is
// always the exact name; these functions only make the text a person reads.
//
// shownName() keeps every printable character and replaces each character that
// could hide part of a name or make it pose as another with a visible mark:
// - C0 controls (line feed, tab, ...) and DEL become their Control Pictures
//   symbols (U+2400 + code, U+2421 for DEL), so "a\nb" reads "a␊b";
// - C1 controls, the line and paragraph separators and the bidi formatting
//   characters (U+061C, U+200E, U+200F, U+202A..U+202E, U+2066..U+2069) become
//   "⟨U+XXXX⟩";
// - a byte that is not valid UTF-8 (decoded by FileNameCodec as a lone
//   surrogate U+DC80..U+DCFF) becomes "⟨xNN⟩" with the byte's value.
//
// isolatedName() is shownName() wrapped in FIRST STRONG ISOLATE .. POP
// DIRECTIONAL ISOLATE: inside right-to-left text (every caption and message of
// the program) the name is then laid out in its own direction, as one run, and
// cannot reorder the Arabic text around it.
namespace lorvane {

[[nodiscard]] QString shownName(const QString &name);
[[nodiscard]] QString isolatedName(const QString &name);

// True when shownName(name) differs from name.
[[nodiscard]] bool needsMarks(const QString &name);

// How a message names an error the system reported (an errno value).
[[nodiscard]] QString systemErrorText(int error);

} // namespace lorvane
