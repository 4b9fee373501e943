#pragma once
// Process-wide facts about the user's machine: the preferred UI language as
// language-territory ("vi-VN"; "en" when the locale names none) and a user
// identifier made of the first wired Ethernet adapter's hardware address
// ("00-1A-2B-3C-4D-5E"; "guid-fixed-1234567890" when there is none). Both are read
// once, when the singleton is created, and never change afterwards.
#include <string>

namespace host {

class DeviceInfo {
public:
    static DeviceInfo* getInstance();

    std::string getLanguage() const { return language; }
    std::string getUserGUID() const { return userGUID; }

    // From LC_ALL, LC_MESSAGES, LANG (first non-empty): "vi_VN.UTF-8" gives "vi-VN",
    // "de" gives "de"; unset, "C", "C.*", "POSIX" or malformed gives "en".
    static std::string languageFromEnvironment();
    // The identifier from a sysfs network folder (normally "/sys/class/net"): the
    // interface with the lowest ifindex whose link type is Ethernet, whose address
    // has 6 bytes, which has a backing device and is not wireless.
    static std::string userGuidFromNetworkRoot(const std::string& netRoot);

    static constexpr const char* kFallbackGUID = "guid-fixed-1234567890";

private:
    DeviceInfo();

    std::string language = "en";
    std::string userGUID;
};

}  // namespace host
