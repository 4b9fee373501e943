#pragma once
// The one line of clipboard text that a paste into a single-line field takes.
//
// Contract: the first line that is not blank, cleaned:
// - lines end at CR, LF, VT, FF, U+0085, U+2028 or U+2029 (a run of them is one
//   break);
// - a surrogate pair stays, an unpaired surrogate is dropped;
// - each blank-like character (blank, tab, U+00A0, U+2000 to U+200A, U+202F,
//   U+205F, U+3000) becomes one blank;
// - control and format characters (below U+0020, U+007F to U+009F, U+00AD,
//   U+200B to U+200F, U+202A to U+202E, U+2060 to U+206F, U+FEFF) are dropped;
// - blanks are trimmed at both ends; a line left empty is skipped;
// - at most 256 UTF-16 units, 255 when the 256th would split a surrogate pair.
// Empty when no line has anything left.
#include <cstddef>
#include <string>
#include <string_view>

namespace portal {

inline constexpr size_t kMaxPastedUnits = 256;

std::u16string cleanClipboardLine(std::u16string_view text);

}  // namespace portal
