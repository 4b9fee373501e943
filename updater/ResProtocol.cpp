#include "updater/ResProtocol.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cctype>
#include <climits>

#include "engine/base/Json.h"
#include "platform/AtomicFile.h"
#include "platform/IntClamp.h"
#include "updater/PatchRoute.h"

namespace updater {

std::vector<std::string> serialTokens(const std::string& text) {
    std::vector<std::string> tokens;
    size_t pos = 0;
    while (true) {
        size_t start = text.find_first_not_of(" \t\n", pos);
        if (start == std::string::npos) break;
        size_t end = text.find_first_of(" \t\n", start);
        tokens.push_back(text.substr(start, end == std::string::npos ? std::string::npos
                                                                      : end - start));
        if (end == std::string::npos) break;
        pos = end;
    }
    return tokens;
}

int serialNumber(const std::string& token) {
    size_t i = 0;
    while (i < token.size() && std::isspace(static_cast<unsigned char>(token[i]))) ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
        value = value * 10 + (token[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    return platform::clampToInt(negative ? -value : value);
}

SerialFile parseSerialFile(const std::string& text) {
    SerialFile file;
    std::vector<std::string> tokens = serialTokens(text);
    if (tokens.size() != 2) return file;
    file.usable = true;
    file.sign = tokens[0];
    file.sn = serialNumber(tokens[1]);
    return file;
}

CacheDecision decideCache(const std::optional<std::string>& packagedText,
                          const std::optional<std::string>& localText) {
    CacheDecision decision;
    if (packagedText) {
        SerialFile packaged = parseSerialFile(*packagedText);
        if (packaged.usable) {
            decision.packagedSign = packaged.sign;
            decision.packagedSn = packaged.sn;
        }
    }
    if (decision.packagedSign == "NONE") {
        decision.action = CacheAction::NoUpdate;
        return decision;
    }
    decision.action = CacheAction::KeepThenRequest;
    if (localText) {
        SerialFile local = parseSerialFile(*localText);
        if (local.usable) decision.localSn = local.sn;
        if (!local.usable || local.sign != decision.packagedSign ||
            decision.packagedSn >= local.sn) {
            decision.localSn = 0;
            decision.action = CacheAction::WipeThenRequest;
        }
    }
    return decision;
}

bool isSafeResPath(const std::string& name) {
    if (name.empty() || name == ".") return false;
    if (name.find("..") != std::string::npos) return false;
    return name.find_first_of(std::string("/\\:?#\0", 6)) == std::string::npos;
}

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

const std::string kPartInfix = ".part-";

}  // namespace

bool isUpdaterTemporaryName(const std::string& name) {
    return startsWith(name, kUnzipTempPrefix) ||
           startsWith(name, std::string(kLocalSerialFile) + kPartInfix) ||
           startsWith(name, std::string(kBaseIncompleteFile) + kPartInfix);
}

bool isUpdaterStateName(const std::string& relative) {
    bool first = true;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        const std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (startsWith(part, kUnzipTempPrefix)) return true;
        if (first && (part == kLocalSerialFile || part == kBaseIncompleteFile || isUpdaterTemporaryName(part)))
            return true;
        first = false;
    }
    return false;
}

bool md5Equal(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool gatewayReplyValid(const std::string& body) {
    // The reply may come from any host over plain http.
    rapidjson::Document doc;
    if (!engine::parseJson(body, doc)) return false;
    const rapidjson::Value* res = engine::jsonMember(doc, "Res");
    if (!res || !res->IsString()) return false;
    std::string url(res->GetString(), res->GetStringLength());
    return patchHostIndex(url) >= 0;
}

bool isDiskSpaceError(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG; }

bool writeFileAtomically(const std::string& path, const std::string& content) {
    static std::atomic<unsigned> sequence{0};
    const std::string temp = path + kPartInfix + std::to_string(::getpid()) + "-" +
                             std::to_string(sequence.fetch_add(1));
    return platform::writeFileAtomically(path, temp, content);
}

}  // namespace updater
