#include "portal/ClipboardLine.h"

namespace portal {
namespace {

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool isBlankLike(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

bool isControlOrFormat(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF;
}

}  // namespace

std::u16string cleanClipboardLine(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        std::u16string line;
        while (i < text.size() && !isLineBreak(text[i])) {
            const char16_t c = text[i];
            if (isHighSurrogate(c)) {
                if (i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
                    line.push_back(c);
                    line.push_back(text[i + 1]);
                    i += 2;
                } else {
                    ++i;
                }
                continue;
            }
            ++i;
            if (isLowSurrogate(c)) continue;
            if (isBlankLike(c)) {
                line.push_back(u' ');
            } else if (!isControlOrFormat(c)) {
                line.push_back(c);
            }
        }
        while (i < text.size() && isLineBreak(text[i])) ++i;
        const size_t first = line.find_first_not_of(u' ');
        if (first == std::u16string::npos) continue;
        line = line.substr(first, line.find_last_not_of(u' ') - first + 1);
        if (line.size() > kMaxPastedUnits) {
            line.resize(isHighSurrogate(line[kMaxPastedUnits - 1]) ? kMaxPastedUnits - 1 : kMaxPastedUnits);
            // The cut may end on a blank: the pasted line stays trimmed.
            line.erase(line.find_last_not_of(u' ') + 1);
        }
        return line;
    }
    return {};
}

}  // namespace portal
