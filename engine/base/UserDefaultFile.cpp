#include "engine/base/UserDefaultFile.h"

#include <tinyxml2.h>

#include <cstring>

namespace engine {
namespace {

constexpr const char* kRoot = "userDefaultRoot";
constexpr const char* kEntry = "entry";

bool isNameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(unsigned char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

bool isPlainKey(const std::string& key) {
    if (key.empty() || !isNameStart(static_cast<unsigned char>(key[0]))) return false;
    if (key == kEntry) return false;
    if (key.size() >= 3 && (key[0] | 0x20) == 'x' && (key[1] | 0x20) == 'm' && (key[2] | 0x20) == 'l') return false;
    for (char c : key)
        if (!isNameChar(static_cast<unsigned char>(c))) return false;
    return true;
}

// Valid UTF-8 of characters XML keeps as they are.
bool isPlainText(const std::string& text) {
    if (!text.empty()) {
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
        if (blank(text.front()) || blank(text.back())) return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n') return false;
            if (c == 0x7f) return false;
            ++p;
            continue;
        }
        size_t length = 0;
        uint32_t code = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (static_cast<size_t>(end - p) < length) return false;
        for (size_t i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        // Characters XML does not allow at all.
        if (code == 0xFFFE || code == 0xFFFF || (code >= 0x80 && code <= 0x9F)) return false;
        p += length;
    }
    return true;
}

std::string toHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 0xF];
    }
    return hex;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool fromHex(const char* hex, std::string* bytes) {
    if (!hex) return false;
    const size_t length = std::strlen(hex);
    if (length % 2) return false;
    bytes->clear();
    bytes->reserve(length / 2);
    for (size_t i = 0; i < length; i += 2) {
        const int high = hexDigit(hex[i]), low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes->push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

}  // namespace

std::string writeUserDefaultXml(const UserDefaultValues& values) {
    tinyxml2::XMLPrinter printer;
    printer.PushDeclaration("xml version=\"1.0\" encoding=\"utf-8\"");
    printer.OpenElement(kRoot);
    for (const auto& [key, value] : values) {
        if (isPlainKey(key) && isPlainText(value)) {
            printer.OpenElement(key.c_str());
            printer.PushText(value.c_str());
            printer.CloseElement();
        } else {
            printer.OpenElement(kEntry);
            printer.PushAttribute("hexKey", toHex(key).c_str());
            printer.PushAttribute("hexValue", toHex(value).c_str());
            printer.CloseElement();
        }
    }
    printer.CloseElement();
    return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() > 0 ? printer.CStrSize() - 1 : 0));
}

UserDefaultXmlRead readUserDefaultXml(const std::string& text, UserDefaultValues* values) {
    UserDefaultXmlRead result;
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
        result.error = document.ErrorName();
        return result;
    }
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root || std::strcmp(root->Name(), kRoot) != 0) {
        result.error = "the root is not userDefaultRoot";
        return result;
    }
    for (const tinyxml2::XMLElement* element = root->FirstChildElement(); element;
         element = element->NextSiblingElement()) {
        const char* hexKey = element->Attribute("hexKey");
        if (std::strcmp(element->Name(), kEntry) == 0 && hexKey) {
            std::string key, value;
            if (fromHex(hexKey, &key) && fromHex(element->Attribute("hexValue"), &value)) {
                (*values)[key] = value;
            } else {
                ++result.skipped;
            }
            continue;
        }
        const char* value = element->GetText();
        (*values)[element->Name()] = value ? value : "";
    }
    result.ok = true;
    return result;
}

}  // namespace engine
