#include "platform/Utf16.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the sequence at utf8[i]; advances i past it, or past its longest valid
// prefix when it is malformed (then the result is U+FFFD).
char32_t decodeOne(std::string_view utf8, size_t& i) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80) return lead;
    int length;
    char32_t value;
    unsigned char low = 0x80, high = 0xBF;   // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;         // overlong
        if (lead == 0xED) high = 0x9F;        // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;         // overlong
        if (lead == 0xF4) high = 0x8F;        // above U+10FFFF
    } else {
        return kReplacement;                  // stray continuation, C0, C1, F5..FF
    }
    for (int k = 1; k < length; ++k) {
        if (i >= utf8.size()) return kReplacement;
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (k == 1 ? (byte < low || byte > high) : !isContinuation(byte)) return kReplacement;
        value = (value << 6) | (byte & 0x3F);
        ++i;
    }
    return value;
}

}  // namespace

std::u16string utf8ToWide(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = decodeOne(utf8, i);
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string wideToUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size() * 3);
    for (size_t i = 0; i < wide.size(); ++i) {
        const char16_t unit = wide[i];
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{wide[i + 1]} - 0xDC00);
            ++i;
        }
        appendUtf8(out, cp);
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace platform
