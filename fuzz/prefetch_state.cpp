// The fixed prefetcher's readers of outside text: the version, manifest, sizes and
// base files from FILES, and its own saved state (version, manifest, pending list,
// ready file) as a user's disk may hold it. The input is split at zero bytes into
// those texts; the first byte picks a fresh run or a resume. The prefetcher then
// runs a few simulated seconds on stand-ins; a Lua error inside it is a finding.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <lua.hpp>

#include "fuzz/FuzzSupport.h"
#include "host/app/FixedPrefetch.h"

namespace {

const char* kWorld = R"(
local wp, resume, remoteVersion, manifest, sizes, base, pending, ready = ...
logs = {}
release_print = function(s) logs[#logs + 1] = s end
local t, nextId, entries = 0, 0, {}
local sched = {}
function sched.scheduleScriptFunc(_, fn, interval)
  nextId = nextId + 1
  entries[nextId] = { fn = fn, due = t + interval, interval = interval }
  return nextId
end
function sched.unscheduleScriptEntry(_, id) entries[id] = nil end
local director = {}
function director.getScheduler() return sched end
function director.getRunningScene() return nil end
local served = { ["pf_version.txt"] = remoteVersion, ["prefetch.tsv"] = manifest,
                 ["pf_sizes.txt"] = sizes, ["pf_base.txt"] = base }
cc = {
  Director = { getInstance = function() return director end },
  VEXOAnrFix = { now = function() return t end },
  VEXOClientFixes = { hashFile = function() return nil end },
  XMLHttpRequest = { new = function()
    local x = { status = 0 }
    function x.open(_, _, url) x.url = url end
    function x.registerScriptHandler(_, fn) x.fn = fn end
    function x.abort() end
    function x.send()
      local body = served[x.url:match("[^/]*$")]
      sched:scheduleScriptFunc(function()
        x.status, x.responseText = body ~= "" and 200 or 404, body
        x.fn("")
      end, 0)
    end
    return x
  end },
}
local function write(name, text)
  if text == "" then return end
  local f = io.open(wp .. name, "wb")
  f:write(text)
  f:close()
end
if resume then
  write("pf_version.txt", remoteVersion)
  write("pf_manifest.tsv", manifest)
  write("pf_base.txt", base)
  write("pf_pending_v2.tsv", pending)
  write("pf_ready_v2.txt", ready)
end
local fu = {}
function fu.isFileExist(_, path) return #path % 3 == 0 end
local queue = { list = {}, pending = {}, active = 0 }
local turn = 0
function queue.pump(q)
  while #q.list > 0 do
    local item = table.remove(q.list, 1)
    turn = turn + 1
    item.onDone(turn % 3 == 0, turn % 7 == 0)
  end
end
local M = require("vexo_native_fixed_prefetch_1011")
M.new({ fu = fu, root = wp .. "res/", WP = wp, FILES = "https://f.test/", queue = queue, MAXA = 5, invalid = {} })
for _ = 1, 600 do
  t = t + 0.016
  local due = {}
  for id, e in pairs(entries) do if e.due <= t then due[#due + 1] = id end end
  table.sort(due)
  for _, id in ipairs(due) do
    local e = entries[id]
    if e then
      e.due = t + e.interval
      e.fn(0.016)
    end
  end
end
for _, line in ipairs(logs) do
  if line:sub(1, 10) == "PF2 error " then error(line, 0) end
end
)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string scratch = fuzzsupport::makeScratchFolder("vexo-fuzz-prefetch");
    if (size == 0) return 0;
    std::vector<std::string> parts(6);
    size_t part = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0) {
            if (++part == parts.size()) break;
        } else {
            parts[part].push_back(static_cast<char>(data[i]));
        }
    }
    const std::string wp = scratch + "/wp/";
    std::error_code ec;
    std::filesystem::remove_all(wp, ec);
    std::filesystem::create_directories(wp, ec);

    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    host::preloadFixedPrefetch(L);
    fuzzsupport::check(luaL_loadstring(L, kWorld) == 0, "stand-in world loads");
    lua_pushstring(L, wp.c_str());
    lua_pushboolean(L, data[0] & 1);
    for (const std::string& text : parts) lua_pushlstring(L, text.data(), text.size());
    if (lua_pcall(L, 2 + static_cast<int>(parts.size()), 0, 0) != 0) {
        std::fprintf(stderr, "%s\n", lua_tostring(L, -1));
        fuzzsupport::check(false, "the prefetcher runs without a Lua error");
    }
    lua_close(L);
    return 0;
}
