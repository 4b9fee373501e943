#include "portal/SignInValues.h"

#include "engine/base/Json.h"

namespace portal {
namespace {

// The value of key + "=" following one of `separators` in `part`, undecoded.
std::string_view findValue(std::string_view part, std::string_view key, std::string_view separators) {
    const std::string pattern = std::string(key) + "=";
    size_t from = 0;
    while (true) {
        const size_t at = part.find(pattern, from);
        if (at == std::string_view::npos) return {};
        if (at > 0 && separators.find(part[at - 1]) != std::string_view::npos) {
            const size_t begin = at + pattern.size();
            const size_t end = part.find('&', begin);
            return part.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
        }
        from = at + 1;
    }
}

// From the first "?" up to the fragment; a "?" inside the fragment starts no query.
std::string_view queryPart(std::string_view url) {
    const std::string_view beforeFragment = url.substr(0, url.find('#'));
    const size_t q = beforeFragment.find('?');
    return q == std::string_view::npos ? std::string_view() : beforeFragment.substr(q);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            const int hi = hexDigit(text[i + 1]);
            const int lo = hexDigit(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += c == '+' ? ' ' : c;
    }
    return out;
}

}  // namespace

std::string urlQueryValue(std::string_view url, std::string_view key) {
    return percentDecode(findValue(queryPart(url), key, "?&"));
}

std::string urlParamValue(std::string_view url, std::string_view key) {
    return std::string(findValue(queryPart(url), key, "?&"));
}

std::string urlFragmentValue(std::string_view url, std::string_view key) {
    const size_t hash = url.find('#');
    if (hash == std::string_view::npos) return {};
    return std::string(findValue(url.substr(hash), key, "#&"));
}

std::string jsonFieldValue(std::string_view text, std::string_view key) {
    const std::string quoted = "\"" + std::string(key) + "\"";
    const size_t at = text.find(quoted);
    if (at == std::string_view::npos) return {};
    size_t i = text.find(':', at + quoted.size());
    if (i == std::string_view::npos) return {};
    ++i;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] == '"') {
        size_t end = i + 1;
        while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
        if (end >= text.size()) return {};
        rapidjson::Document doc;
        if (!engine::parseJson(text.substr(i, end + 1 - i), doc) || !doc.IsString()) return {};
        return std::string(doc.GetString(), doc.GetStringLength());
    }
    size_t end = i;
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '-')) ++end;
    return std::string(text.substr(i, end - i));
}

}  // namespace portal
