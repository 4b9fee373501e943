#pragma once
// The client's fix-up natives, installed by the script start after the portal's:
// the table "cc.VEXOClientFixes" with its embedded script (the staged start's
// table and script are in host/app/AnrFix.h). Main thread only.
//
// installClientFixes:
// - sets cc.VEXOClientFixes = {hashFile = <C function>, version = 1} ("cc" is
//   made when absent);
// - puts the fixed prefetcher into package.preload (host::preloadFixedPrefetch);
// - runs the embedded client-fix script (chunk name "ClientFix.lua") with the
//   portal root as its one argument: the build's user portal address without a
//   trailing "/" (portal::portalRoot), or the root given to the second form,
//   which the tests use to point the support flow at a local host.
// - logs "[VEXOClientFix] support UI and guarded Store1011 updater installed" on
//   success, "[VEXOClientFix] initialization failed: <message>" on a load or run
//   error (the message is popped; nothing is raised).
//
// hashFile(path) gives the MD5 of a downloaded resource file as 32 lower-case hex
// digits, or nil; it never raises. "\" in the path counts as "/". nil unless the
// path is a string without zero bytes and without "/../", begins (case-sensitively)
// with the writable path + "auc/Resources/", stays under that folder once links are
// resolved, and names a regular file of 1 to 16,777,216 bytes that reads whole (at
// most the limit plus one byte is ever read).
#include <string>

#include <lua.hpp>

namespace host {

void installClientFixes(lua_State* L);
void installClientFixes(lua_State* L, const std::string& portalRoot);

}  // namespace host
