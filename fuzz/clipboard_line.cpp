// Any bytes as clipboard text (UTF-16 units, and as UTF-8): the pasted line is at
// most 256 units with no line break, control, format character, unpaired
// surrogate or outer blank, and survives a trip through UTF-8 unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/Utf16.h"
#include "portal/ClipboardLine.h"

namespace {

bool high(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void checkLine(const std::u16string& line) {
    fuzzsupport::check(line.size() <= portal::kMaxPastedUnits, "at most 256 units");
    if (line.empty()) return;
    fuzzsupport::check(line.front() != u' ' && line.back() != u' ', "trimmed");
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        fuzzsupport::check(c >= 0x20 && !(c >= 0x7F && c <= 0x9F) && c != 0x2028 && c != 0x2029 && c != 0xFEFF,
                           "no break or control");
        if (high(c)) {
            fuzzsupport::check(i + 1 < line.size() && low(line[i + 1]), "high surrogate paired");
            ++i;
        } else {
            fuzzsupport::check(!low(c), "no lone low surrogate");
        }
    }
    fuzzsupport::check(platform::utf8ToWide(platform::wideToUtf8(line)) == line, "UTF-8 round trip");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string units(size / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    checkLine(portal::cleanClipboardLine(units));

    const std::string utf8(reinterpret_cast<const char*>(data), size);
    const std::u16string wide = platform::utf8ToWide(utf8);
    fuzzsupport::check(platform::utf8ToWide(platform::wideToUtf8(wide)) == wide, "decoded text is stable");
    checkLine(portal::cleanClipboardLine(wide));
    return 0;
}
