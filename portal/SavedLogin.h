#pragma once
// The saved login: how the player last signed in and the refresh tokens of the
// silent re-login, kept in "vexo_login.txt" in the engine's writable folder.
//
// File: "VEXODP1:" followed by the Base64 text (standard alphabet, "=" padding, no
// line breaks) of the protected plain form; the plain form is one line
// key + "=" + value + "\n" per entry, in byte order of the keys. A file of an older
// version may hold the plain form: loading it rewrites it protected at once.
//
// Nothing is cached: every get reads the file, every set reads and rewrites it.
// Writes replace the file atomically (a reader sees the old or the new file), which
// is then readable and writable by its owner only (0600); a
// failed protection or write leaves the old file as it was. A protected file that
// cannot be unprotected (another user's key, damage) reads as empty and is never
// changed by reading; the next store first moves it aside as
// "vexo_login.txt.unreadable" (else ".unreadable.1", ".2", ..., never replacing a
// file), and writes nothing when it cannot.
//
// savedLoginSet refuses (writes nothing, answers false) a key holding "=", a line
// feed or a carriage return, and a value holding a line feed, a carriage return or
// a zero byte: such entries would not read back as written. Main thread only.
#include <map>
#include <string>
#include <string_view>

#include "engine/base/Base64.h"

namespace portal {

using SavedLogin = std::map<std::string, std::string>;

std::string savedLoginPath();
SavedLogin savedLoginLoad();
// True when the file now holds the map.
bool savedLoginStore(const SavedLogin& map);
std::string savedLoginGet(const std::string& key);
bool savedLoginSet(const std::string& key, const std::string& value);

// Lines split at "\n" (the last need not end with one); the first "=" separates
// key and value; lines without "=" are skipped; trailing "\r" and "\n" leave the
// value; a later key replaces an earlier one.
SavedLogin parseKeyValueLines(std::string_view text);
std::string serializeKeyValueLines(const SavedLogin& map);

// "VEXODP1:" + Base64 of the protected text; "" when protection fails.
std::string protectLoginBlob(std::string_view text);
// 1 done (out set), 0 no prefix, -1 anything else (out empty).
int unprotectLoginBlob(std::string_view text, std::string& out);
bool hasProtectedPrefix(std::string_view text);

// The engine's Base64 (engine/base/Base64.h).
using engine::base64Decode;
using engine::base64Encode;

}  // namespace portal
