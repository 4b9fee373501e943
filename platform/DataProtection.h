#pragma once
// Protection of small secrets at rest for the current user (saved logins, account
// values): authenticated encryption under a key only this user can read.
//
// Key: the file userDataHome() + "/VEXO/dp.key", 32 random bytes. The first
// protection makes it (missing folders are created with mode 0700, the file with
// 0600): the bytes go to a private temporary file that is then linked into place,
// so of two processes racing to make it one wins and both use its key. An existing
// key file is never replaced. Protection and unprotection fail when there is no
// user data home, or when the key file cannot be read, is not a regular file or
// does not hold exactly 32 bytes; unprotection never creates a key.
//
// Blob: one format byte (1), a random 12-byte nonce, the ciphertext (as long as the
// plain text), the 16-byte tag. AES-256-GCM under the key derived with HKDF-SHA256
// from the key file's bytes, with `entropy` as the derivation's info, and
// `description` as associated data. Both must be the same to unprotect: a blob made
// under another key, entropy or description, or changed in any byte, fails its tag.
//
// Key material and derived keys are cleansed from memory after use; callers own the
// plain text they pass or receive (cleanseString wipes a string's bytes).
// Any thread; the functions keep no state between calls.
#include <string>
#include <string_view>

namespace platform {

// The key file's path; "" when there is no user data home.
std::string dataProtectionKeyPath();

// True with `blob` set; false (blob empty) when the key is unavailable or the
// cipher fails.
bool protectData(std::string_view plain, std::string_view entropy, std::string_view description,
                 std::string& blob);

// True with `plain` set; false (plain empty) for a blob of another format, key,
// entropy or description, a damaged blob, or no key.
bool unprotectData(std::string_view blob, std::string_view entropy, std::string_view description,
                   std::string& plain);

// Overwrites the string's bytes with zeros (the optimiser cannot drop it), then
// empties it.
void cleanseString(std::string& text);

}  // namespace platform
