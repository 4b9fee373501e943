#include "host/config/DeviceInfo.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/files/FileUtils.h"
#include "platform/Locale.h"

namespace host {

namespace {

bool allLetters(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isalpha(c) && c < 0x80; });
}

bool allDigits(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return c >= '0' && c <= '9'; });
}

std::string readFirstLine(const std::filesystem::path& file) {
    const std::string text = engine::FileUtils::getInstance()->getStringFromFile(file.string());
    return text.substr(0, text.find('\n'));
}

bool pathExists(const std::filesystem::path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// "aa:bb:cc:dd:ee:ff" to "AA-BB-CC-DD-EE-FF"; empty unless exactly six bytes.
std::string formatAddress(const std::string& text) {
    unsigned bytes[6];
    int consumed = 0;
    if (text.size() != 17 ||
        std::sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%n", &bytes[0], &bytes[1], &bytes[2], &bytes[3],
                    &bytes[4], &bytes[5], &consumed) != 6 ||
        consumed != 17) {
        return {};
    }
    char out[18];
    std::snprintf(out, sizeof out, "%02X-%02X-%02X-%02X-%02X-%02X", bytes[0], bytes[1], bytes[2], bytes[3],
                  bytes[4], bytes[5]);
    return out;
}

}  // namespace

std::string DeviceInfo::languageFromEnvironment() {
    std::string locale = platform::messagesLocale();
    if (locale.empty()) return "en";
    locale = locale.substr(0, locale.find_first_of(".@"));
    const size_t sep = locale.find('_');
    std::string lang = locale.substr(0, sep);
    std::string territory = sep == std::string::npos ? std::string() : locale.substr(sep + 1);
    if (lang.size() < 2 || lang.size() > 3 || !allLetters(lang)) return "en";
    for (char& c : lang) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (sep == std::string::npos) return lang;
    const bool letters = territory.size() == 2 && allLetters(territory);
    const bool digits = territory.size() == 3 && allDigits(territory);
    if (!letters && !digits) return "en";
    for (char& c : territory) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return lang + "-" + territory;
}

std::string DeviceInfo::userGuidFromNetworkRoot(const std::string& netRoot) {
    namespace fs = std::filesystem;
    struct Candidate {
        long index;
        std::string guid;
    };
    std::vector<Candidate> found;
    std::error_code ec;
    for (fs::directory_iterator it(netRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path dir = it->path();
        if (readFirstLine(dir / "type") != "1") continue;             // ARPHRD_ETHER
        if (!pathExists(dir / "device")) continue;                         // virtual interface
        if (pathExists(dir / "wireless") || pathExists(dir / "phy80211")) continue;
        const std::string guid = formatAddress(readFirstLine(dir / "address"));
        if (guid.empty()) continue;
        char* endPtr = nullptr;
        const std::string indexText = readFirstLine(dir / "ifindex");
        const long index = std::strtol(indexText.c_str(), &endPtr, 10);
        if (indexText.empty() || *endPtr) continue;
        found.push_back({index, guid});
    }
    if (found.empty()) return kFallbackGUID;
    return std::min_element(found.begin(), found.end(),
                            [](const Candidate& a, const Candidate& b) { return a.index < b.index; })
        ->guid;
}

DeviceInfo::DeviceInfo() {
    language = languageFromEnvironment();
    if (userGUID.empty()) userGUID = userGuidFromNetworkRoot("/sys/class/net");
}

DeviceInfo* DeviceInfo::getInstance() {
    static DeviceInfo* instance = new DeviceInfo();
    return instance;
}

}  // namespace host
