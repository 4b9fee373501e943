#include "portal/SavedLogin.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "engine/files/FileUtils.h"
#include "platform/AtomicFile.h"
#include "platform/DataProtection.h"

namespace portal {
namespace {

constexpr std::string_view kPrefix = "VEXODP1:";
constexpr std::string_view kEntropy = "RODI.ZOZ.login.v1";
constexpr std::string_view kDescription = "VEXO login";

// The file's bytes; "" when it is missing or unreadable.
std::string readLoginFile(const std::string& path) {
    return engine::FileUtils::getInstance()->getStringFromFile(path);
}

// A protected file we cannot read goes aside under a name no file holds yet.
bool moveAside(const std::string& path) {
    for (int n = 0; n < 1000; ++n) {
        const std::string aside = path + ".unreadable" + (n == 0 ? std::string() : "." + std::to_string(n));
        if (link(path.c_str(), aside.c_str()) == 0) return unlink(path.c_str()) == 0;
        if (errno != EEXIST) return false;
    }
    return false;
}

bool isStorable(const std::string& key, const std::string& value) {
    return key.find_first_of("=\n\r") == std::string::npos &&
           value.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos;
}

}  // namespace

std::string savedLoginPath() { return engine::FileUtils::getInstance()->getWritablePath() + "vexo_login.txt"; }

SavedLogin parseKeyValueLines(std::string_view text) {
    SavedLogin map;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view value = line.substr(eq + 1);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) value.remove_suffix(1);
        map[std::string(line.substr(0, eq))] = std::string(value);
    }
    return map;
}

std::string serializeKeyValueLines(const SavedLogin& map) {
    std::string text;
    for (const auto& [key, value] : map) text += key + "=" + value + "\n";
    return text;
}

SavedLogin savedLoginLoad() {
    const std::string path = savedLoginPath();
    std::string text = readLoginFile(path);
    SavedLogin map;
    if (hasProtectedPrefix(text)) {
        std::string plain;
        if (unprotectLoginBlob(text, plain) == 1) map = parseKeyValueLines(plain);
        platform::cleanseString(plain);
    } else {
        map = parseKeyValueLines(text);
        if (!map.empty()) savedLoginStore(map);
    }
    platform::cleanseString(text);
    return map;
}

bool savedLoginStore(const SavedLogin& map) {
    const std::string path = savedLoginPath();
    std::string plain = serializeKeyValueLines(map);
    const std::string blob = protectLoginBlob(plain);
    platform::cleanseString(plain);
    if (blob.empty()) return false;

    std::string current = readLoginFile(path);
    std::string unused;
    const bool unreadable = hasProtectedPrefix(current) && unprotectLoginBlob(current, unused) != 1;
    platform::cleanseString(unused);
    platform::cleanseString(current);
    if (unreadable && !moveAside(path)) return false;
    return platform::writeFileAtomically(path, path + ".tmp-" + std::to_string(getpid()), blob, 0600);
}

std::string savedLoginGet(const std::string& key) {
    const SavedLogin map = savedLoginLoad();
    const auto it = map.find(key);
    return it == map.end() ? std::string() : it->second;
}

bool savedLoginSet(const std::string& key, const std::string& value) {
    if (!isStorable(key, value)) return false;
    SavedLogin map = savedLoginLoad();
    map[key] = value;
    return savedLoginStore(map);
}

bool hasProtectedPrefix(std::string_view text) { return text.substr(0, kPrefix.size()) == kPrefix; }

std::string protectLoginBlob(std::string_view text) {
    std::string blob;
    if (!platform::protectData(text, kEntropy, kDescription, blob)) return {};
    return std::string(kPrefix) + base64Encode(blob);
}

int unprotectLoginBlob(std::string_view text, std::string& out) {
    platform::cleanseString(out);
    if (!hasProtectedPrefix(text)) return 0;
    std::string blob;
    if (!base64Decode(text.substr(kPrefix.size()), blob) || blob.empty()) return -1;
    return platform::unprotectData(blob, kEntropy, kDescription, out) ? 1 : -1;
}

}  // namespace portal
