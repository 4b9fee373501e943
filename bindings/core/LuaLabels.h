#pragma once
// Label creation in the two forms scripts use, and the alignment numbers.
//
//   cc.Label:createWithTTF(text, fontFile, fontSize [, dimensions [, hAlign [, vAlign]]])
//       dimensions a size table (else no box), alignments numbers (default 0);
//   cc.Label:createWithTTF(ttfConfig, text [, hAlign = 1 [, maxLineWidth = 0]])
//       ttfConfig a table {fontFilePath, fontSize = 12, ...}.
// The first form is taken when its argument types fit exactly; otherwise the
// second, whose count must be 2 to 4 ("cc.Label:createWithTTF has wrong number
// of arguments: %d, was expecting 2\n "). A configuration or text that does not
// read returns nothing; a font file that cannot be found gives nil.
#include <lua.hpp>

#include <algorithm>
#include <cstdint>

#include "engine/label/FontDefinition.h"

namespace bindings {

// Alignments come as their numbers (left/top 0, centre 1, right/bottom 2); others
// are clamped into that range.
inline engine::TextHAlignment hAlignmentOf(int32_t value) {
    return static_cast<engine::TextHAlignment>(std::clamp(value, 0, 2));
}
inline engine::TextVAlignment vAlignmentOf(int32_t value) {
    return static_cast<engine::TextVAlignment>(std::clamp(value, 0, 2));
}

// Puts createWithTTF in cc.Label (nothing when the class is not registered).
void register_label_manual(lua_State* L);

}  // namespace bindings
