// The serial files and the cache decision at start: any two texts (the packaged serial
// file and the cache's), either of them possibly absent.
//
// Input: one byte of flags (bit 0: the packaged file exists, bit 1: the cache's file
// exists), then the packaged text, a 0xff byte, and the cache's text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <climits>
#include <optional>
#include <vector>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "updater/ResProtocol.h"

using fuzzsupport::check;

namespace {

// The C library's reading of a decimal number, clamped to the int range.
int referenceNumber(const std::string& token) {
    const long long value = std::strtoll(token.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void checkParse(const std::string& text) {
    const std::vector<std::string> tokens = updater::serialTokens(text);
    std::string joined;
    for (const std::string& t : tokens) {
        check(!t.empty(), "!t.empty()");
        check(t.find_first_of(" \t\n") == std::string::npos, "no separator inside a token");
        joined += t;
    }
    std::string stripped;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') stripped += c;
    check(joined == stripped, "joined == stripped");

    const updater::SerialFile file = updater::parseSerialFile(text);
    check(file.usable == (tokens.size() == 2), "file.usable == (tokens.size() == 2)");
    if (file.usable) {
        check(file.sign == tokens[0], "file.sign == tokens[0]");
        check(file.sn == updater::serialNumber(tokens[1]), "file.sn == updater::serialNumber(tokens[1])");
        check(file.sn == referenceNumber(tokens[1]), "file.sn == referenceNumber(tokens[1])");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t cut = rest.find('\xff');
    std::optional<std::string> packaged, local;
    if (data[0] & 1) packaged = rest.substr(0, cut);
    if (data[0] & 2) local = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
    if (packaged) checkParse(*packaged);
    if (local) checkParse(*local);

    const updater::CacheDecision d = updater::decideCache(packaged, local);
    const updater::SerialFile p = packaged ? updater::parseSerialFile(*packaged) : updater::SerialFile();
    const updater::SerialFile l = local ? updater::parseSerialFile(*local) : updater::SerialFile();
    if (!p.usable || p.sign == "NONE") {
        check(d.action == updater::CacheAction::NoUpdate, "d.action == updater::CacheAction::NoUpdate");
        check(d.localSn == 0, "d.localSn == 0");
        return 0;
    }
    check(d.packagedSign == p.sign && d.packagedSn == p.sn, "packaged serial taken as read");
    // The cache survives only with the packaged sign and a serial strictly above it.
    const bool keep = !local || (l.usable && l.sign == p.sign && l.sn > p.sn);
    check(d.action == (keep ? updater::CacheAction::KeepThenRequest
                            : updater::CacheAction::WipeThenRequest),
          "the cache is kept only when newer and of the same sign");
    check(d.localSn == (keep && local ? l.sn : 0), "d.localSn == (keep && local ? l.sn : 0)");
    return 0;
}
