#pragma once
// The update protocol's pure rules: serial files, the cache decision at start, file
// names and digests of packages, the gateway reply, and small atomic file writes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace updater {

// One package to fetch and unzip.
struct ResPackage {
    int sn = 0;
    std::string file;   // bare file name (see isSafeResPath)
    std::string md5;    // 32 hexadecimal digits, either case
    int64_t size = 0;   // bytes of the package file
    bool operator==(const ResPackage&) const = default;
};

// Tokens of a serial file ("sign sn"): runs of space, tab and line feed separate
// them; a carriage return is not a separator and stays in its token.
std::vector<std::string> serialTokens(const std::string& text);

// Leading blanks, an optional sign and decimal digits, as the C library's atoi reads
// them (0 when there are none), but saturating at the int range instead of
// overflowing.
int serialNumber(const std::string& token);

// A serial file is usable only with exactly two tokens.
struct SerialFile {
    bool usable = false;
    std::string sign;
    int sn = 0;
};
SerialFile parseSerialFile(const std::string& text);

// What the start of a run does with the caches.
enum class CacheAction {
    NoUpdate,          // no usable packaged serial (or its sign is "NONE"): wipe, end the run
    WipeThenRequest,   // the local cache is unusable or not newer: wipe, fetch the list
    KeepThenRequest,   // the local cache is newer than the packaged resources
};

struct CacheDecision {
    std::string packagedSign = "NONE";
    int packagedSn = 0;
    int localSn = 0;
    CacheAction action = CacheAction::NoUpdate;
};

// packagedText: the packaged serial file, localText: the cache's serial file; each
// absent when the file does not exist. The cache survives only when its sign equals
// the packaged sign and its serial is strictly above the packaged serial.
CacheDecision decideCache(const std::optional<std::string>& packagedText,
                          const std::optional<std::string>& localText);

// The updater's own files in the resource cache: the serial file, the marker of an
// unfinished base set, their temporaries ("<name>.part-<pid>-<n>", see
// writeFileAtomically) and the unzip temporaries ("<prefix><n>", beside any entry).
inline constexpr char kLocalSerialFile[] = "LocalResSignSn";
inline constexpr char kBaseIncompleteFile[] = "BaseIncomplete";
inline constexpr char kUnzipTempPrefix[] = ".unzip-";

// True when a path relative to the resource cache ("/" separators; empty and "."
// parts are skipped) names one of the updater's own files above, or a folder in
// their place: no package may write there.
bool isUpdaterStateName(const std::string& relative);

// True for a file name the updater leaves behind only when it is stopped midway:
// an unzip temporary, or a temporary of the serial file or of the marker.
bool isUpdaterTemporaryName(const std::string& name);

// An errno that means the disk (or the user's quota, or the file size limit) is full.
// The updater reports such a failure as error 0 with the detail kDiskFull, whose
// alert text asks the user to free disk space.
bool isDiskSpaceError(int err);
inline constexpr char kDiskFull[] = "disk full";

// A package file name: not empty, not ".", without "..", without any of
// "/", "\", ":", "?", "#" and without NUL characters.
bool isSafeResPath(const std::string& name);

// Digests as hexadecimal text, compared without regard to letter case.
bool md5Equal(const std::string& a, const std::string& b);

// A JSON object whose "Res" member is a string naming a URL on a patch host.
bool gatewayReplyValid(const std::string& body);

// The serial files ("LocalResSignSn", "BaseIncomplete"): content replaces the file at
// path all at once and is on disk when this answers true (platform::
// writeFileAtomically, through a temporary "<path>.part-<pid>-<n>" beside it). False,
// with the old file kept and nothing left behind, on failure.
bool writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace updater
