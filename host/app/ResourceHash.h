#pragma once
// The guarded digest behind cc.VEXOClientFixes.hashFile: the MD5 of a file the
// updater downloaded, for scripts that compare it with a known digest.
//
// resourceFileMd5(path, root) gives 32 lower-case hex digits, or "" when:
// - the path holds a zero byte or "/../", or does not begin with root (compared
//   byte for byte, case-sensitively); "\" counts as "/" in both;
// - with links resolved, the file is not below the resolved root, or the root
//   cannot be resolved;
// - it is not a regular file, is empty or larger than kResourceHashLimit bytes, or
//   does not read whole (at most the limit plus one byte is read).
// Any thread; touches no shared state.
#include <cstddef>
#include <string>

namespace host {

inline constexpr size_t kResourceHashLimit = 16 * 1024 * 1024;

std::string resourceFileMd5(std::string path, std::string root);

}  // namespace host
