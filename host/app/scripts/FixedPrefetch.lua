-- Fixed resource prefetcher.
--
-- The game hands new(ctx) its file utilities (ctx.fu), the resource root
-- (ctx.root), the writable folder for our state (ctx.WP), the download base
-- (ctx.FILES; the three end in "/"), its download queue (ctx.queue: list,
-- pending, active, pump), the number of parallel downloads (ctx.MAXA), the set of
-- paths known to be invalid (ctx.invalid) and optionally a panel (setText,
-- setVisible) that shows our progress instead of our own label.
--
-- All work runs on the main thread in short steps on the scheduler: a step stops
-- after 2 ms, 4096 manifest lines or 32 examined paths and picks up on a later
-- frame. Small files (version, manifest, sizes, base) come straight from FILES;
-- resource files go through the game's queue, at most 2 a step and never into the
-- last 2 of its MAXA slots.
--
-- State in WP, each written to a ".tmp" file first and renamed over the old one:
--   pf_version.txt     the manifest version (hex digits)
--   pf_manifest.tsv    "<path>\t<md5>" per file, paths under "res/" or "stu/"
--   pf_pending_v2.tsv  header line, one missing path per line, "END\t<count>"
--   pf_ready_v2.txt    header line, "READY"
--   pf_sizes.txt       "PFS\t<version>\t<main count>\t<main bytes>\t<total bytes>",
--                      then one size per manifest line
--   pf_base.txt        "<version>\t<manifest lines shipped with the base install>"
-- The header line is "PF2\t<version>\t<FILES>\t<file count>\t<manifest bytes>".
local M = {}

local STEP_BUDGET = 0.002
local FRAME_MS = 16
local WORK_MS = 100
local PARSE_LINES = 4096
local EXAMINE_PATHS = 32
local QUEUE_PER_STEP = 2
local FREE_SLOTS = 2
local SAVE_EVERY = 5.0
local FETCH_TIMEOUT_MS = 20000
local START_RETRY_MS = 20000
local START_ATTEMPTS = 3
local MAX_FAILURES = 3
local LABEL_MS = 1000
local SAMPLE_AFTER_BASE = 24
local SAMPLE_IN_BASE = 16

local VERSION_FILE = "pf_version.txt"
local MANIFEST_FILE = "pf_manifest.tsv"
local PENDING_FILE = "pf_pending_v2.tsv"
local READY_FILE = "pf_ready_v2.txt"
local SIZES_FILE = "pf_sizes.txt"
local BASE_FILE = "pf_base.txt"
local REMOTE_MANIFEST = "prefetch.tsv"

local LABEL_PREFIX = "Tải tài nguyên: "
local LABEL_RETRY = " (chờ tải lại)"

-- Engine services, looked up at each use: the scripts around us may replace them.

local function log(text)
  local out = rawget(_G, "release_print")
  if type(out) == "function" then out("PF2 " .. text) end
end

local function cc()
  return rawget(_G, "cc") or {}
end

-- The engine's steady clock in seconds (the host's native; without it only the
-- counts bound a step).
local function now()
  local anr = cc().VEXOAnrFix
  if type(anr) == "table" and type(anr.now) == "function" then return anr.now() end
  return 0
end

local function scheduler()
  return cc().Director:getInstance():getScheduler()
end

-- Runs fn once after ms milliseconds (on the next frame for a frame or less).
-- Returns a function that cancels the call.
local function later(ms, fn)
  local sched = scheduler()
  local id
  local live = true
  id = sched:scheduleScriptFunc(function()
    if not live then return end
    live = false
    sched:unscheduleScriptEntry(id)
    fn()
  end, ms > FRAME_MS and ms / 1000 or 0, false)
  return function()
    if live then
      live = false
      sched:unscheduleScriptEntry(id)
    end
  end
end

local function exports()
  local c = cc()
  if type(c.exports) ~= "table" then c.exports = {} end
  return c.exports
end

local function sameDigest(a, b)
  return type(a) == "string" and type(b) == "string" and a:lower() == b:lower()
end

local function hashFile(path)
  local fixes = cc().VEXOClientFixes
  if type(fixes) ~= "table" or type(fixes.hashFile) ~= "function" then return nil end
  local ok, digest = pcall(fixes.hashFile, path)
  if ok then return digest end
  return nil
end

local function trim(s)
  return (s:gsub("^%s+", ""):gsub("%s+$", ""))
end

local function validPath(path)
  if not (path:sub(1, 4) == "res/" or path:sub(1, 4) == "stu/") then return false end
  if path:find("/../", 1, true) or path:sub(-3) == "/.." then return false end
  return not path:find("[%z\\]")
end

local function validVersion(text)
  if type(text) ~= "string" then return nil end
  local v = trim(text)
  if v:match("^%x+$") then return v:lower() end
  return nil
end

------------------------------------------------------------------------------

local Prefetch = {}
Prefetch.__index = Prefetch

function Prefetch:readFile(name)
  local f = io.open(self.WP .. name, "rb")
  if not f then return nil end
  local text = f:read("*a")
  f:close()
  return text
end

-- Writes a state file through "<name>.tmp". A write or close that fails leaves the
-- old file in place and removes the ".tmp".
function Prefetch:writeFile(name, text)
  local final = self.WP .. name
  local tmp = final .. ".tmp"
  local f = io.open(tmp, "wb")
  if not f then
    log("write failed " .. name)
    return false
  end
  local wrote = f:write(text)
  local closed = f:close()
  local renamed = false
  if wrote and closed then
    local stream = cc().VEXOStreamIO
    if type(stream) == "table" and type(stream.renameAtomic) == "function" then
      renamed = stream.renameAtomic(tmp, final) and true or false
    else
      renamed = os.rename(tmp, final) and true or false
    end
  end
  if not renamed then
    os.remove(tmp)
    log("write failed " .. name)
  end
  return renamed
end

function Prefetch:exists(path)
  return self.fu:isFileExist(self.root .. path) and true or false
end

function Prefetch:isInvalid(path)
  local invalid = self.invalid
  return type(invalid) == "table" and (invalid[path] or invalid[self.root .. path]) and true or false
end

-- A file counts as present when it exists and is not known to be invalid, unless
-- its digest shows it is the manifest's file after all.
function Prefetch:present(path)
  if not self:exists(path) then return false end
  if not self:isInvalid(path) then return true end
  return sameDigest(hashFile(self.root .. path), self.md5[path])
end

function Prefetch:setState(state, pct)
  local changed = state ~= self.state
  self.state = state
  self.pct = pct
  local ex = exports()
  ex.prefetchState = state
  ex.prefetchPct = pct
  if not changed then return end
  if state == "DOWNLOADING" or state == "RETRY" then
    self:showProgress()
  else
    self:hideProgress()
  end
end

function Prefetch:progressText()
  local text = LABEL_PREFIX .. tostring(self.pct or 0) .. "%"
  if self.state == "RETRY" then text = text .. LABEL_RETRY end
  return text
end

function Prefetch:refreshLabel()
  local text = self:progressText()
  local panel = self.panel
  if panel then
    panel:setText(text)
    panel:setVisible(true)
    self.shown = true
    return
  end
  local c = cc()
  local director = c.Director:getInstance()
  local scene = director:getRunningScene()
  if not scene then return end
  if self.label and self.labelScene == scene then
    self.label:setString(text)
    return
  end
  local label = c.Label:createWithSystemFont(text, "Arial", 16)
  label:setAnchorPoint({ x = 0, y = 1 })
  label:setPosition(8, director:getWinSize().height - 4)
  if label.setTextColor then
    label:setTextColor({ r = 255, g = 232, b = 150, a = 255 })
  else
    label:setColor({ r = 255, g = 232, b = 150 })
  end
  scene:addChild(label, 999999)
  self.label = label
  self.labelScene = scene
end

function Prefetch:showProgress()
  self:refreshLabel()
  if self.stopLabel then return end
  local function tick()
    self.stopLabel = later(LABEL_MS, tick)
    self:refreshLabel()
  end
  self.stopLabel = later(LABEL_MS, tick)
end

function Prefetch:hideProgress()
  if self.stopLabel then
    self.stopLabel()
    self.stopLabel = nil
  end
  if self.panel then
    if self.shown then self.panel:setVisible(false) end
    self.shown = false
    return
  end
  if self.label then
    local scene = cc().Director:getInstance():getRunningScene()
    if scene == self.labelScene then self.label:removeFromParent() end
    self.label = nil
    self.labelScene = nil
  end
end

------------------------------------------------------------------------------
-- Stepping. The flow runs in a coroutine; it yields to wait for the next step or
-- for a download of a small file.

function Prefetch:resume(...)
  self.t0 = now()
  self.counts = {}
  local ok, what, arg = coroutine.resume(self.co, ...)
  if not ok then
    log("error " .. tostring(what))
    self:setState("ERROR", nil)
    return
  end
  if coroutine.status(self.co) == "dead" then return end
  if what == "sleep" then
    later(arg, function() self:resume() end)
  end
end

local function sleep(ms)
  coroutine.yield("sleep", ms or FRAME_MS)
end

-- True once this step has done `limit` units of a kind (lines or paths, told
-- apart by their limit) or spent its time.
function Prefetch:over(limit)
  return (self.counts[limit] or 0) >= limit or now() - self.t0 >= STEP_BUDGET
end

-- Counts one unit; true once the step is over.
function Prefetch:spent(limit)
  self.counts[limit] = (self.counts[limit] or 0) + 1
  return self:over(limit)
end

-- Fetches FILES .. name; the body on HTTP 200, nil on anything else or after the
-- time-out.
function Prefetch:fetch(name)
  local c = cc()
  local xhr = c.XMLHttpRequest:new()
  local done, result, waiting = false, nil, false
  local cancel
  local function finish(body)
    if done then return end
    done = true
    result = body
    if cancel then cancel() end
    if waiting then self:resume() end
  end
  xhr:open("GET", self.FILES .. name)
  xhr:registerScriptHandler(function()
    if xhr.status == 200 then finish(xhr.responseText or "") else finish(nil) end
  end)
  xhr:send()
  if not done then
    cancel = later(FETCH_TIMEOUT_MS, function()
      xhr:abort()
      finish(nil)
    end)
    waiting = true
    coroutine.yield("wait")
  end
  return result
end

------------------------------------------------------------------------------
-- Manifest, sizes and base.

-- Parses manifest text in steps. Returns the paths in order and the digest (lower
-- case) by path, or nil and the reason.
function Prefetch:parseManifest(text)
  local entries, md5 = {}, {}
  local pos, len = 1, #text
  while pos <= len do
    local stop = text:find("\n", pos, true) or len + 1
    local line = text:sub(pos, stop - 1):gsub("\r$", "")
    pos = stop + 1
    if line ~= "" then
      local path, digest = line:match("^([^\t]+)\t(%x+)$")
      if not path or #digest ~= 32 or not validPath(path) then return nil, "bad line" end
      if md5[path] then return nil, "duplicate " .. path end
      md5[path] = digest:lower()
      entries[#entries + 1] = path
    end
    if pos <= len and self:spent(PARSE_LINES) then sleep() end
  end
  if #entries == 0 then return nil, "empty" end
  return entries, md5
end

-- Splits text into lines (a "\r" before "\n" dropped, blank lines at the end
-- too), in steps like every reader here.
function Prefetch:splitLines(text)
  local lines, pos, len = {}, 1, #text
  while pos <= len do
    local stop = text:find("\n", pos, true) or len + 1
    lines[#lines + 1] = (text:sub(pos, stop - 1):gsub("\r$", ""))
    pos = stop + 1
    if pos <= len and self:spent(PARSE_LINES) then sleep() end
  end
  while lines[#lines] == "" do lines[#lines] = nil end
  return lines
end

local function header(version, files, count, bytes)
  return table.concat({ "PF2", version, files, tostring(count), tostring(bytes) }, "\t")
end

function Prefetch:validSizes(text, version, count)
  if type(text) ~= "string" then return false end
  local lines = self:splitLines(text)
  local v, main, mainBytes, total = (lines[1] or ""):match("^PFS\t(%x+)\t(%d+)\t(%d+)\t(%d+)$")
  if not v or v:lower() ~= version or tonumber(main) > count or #lines ~= count + 1 then return false end
  local sum = 0
  for i = 2, #lines do
    if not lines[i]:match("^%d+$") then return false end
    sum = sum + tonumber(lines[i])
    if self:spent(PARSE_LINES) then sleep() end
  end
  return sum == tonumber(total) and tonumber(mainBytes) <= sum
end

local function baseCount(text, version, count)
  if type(text) ~= "string" then return 0 end
  local v, n = trim(text):match("^(%x+)\t(%d+)$")
  if not v or v:lower() ~= version then return 0 end
  return math.min(tonumber(n), count)
end

------------------------------------------------------------------------------
-- Start: version and manifest.

-- One attempt. Returns true when the manifest is in place (and the work set up),
-- false to retry, or nil, reason to stop.
function Prefetch:attempt()
  local localVersion = validVersion(self:readFile(VERSION_FILE))
  local localText = self:readFile(MANIFEST_FILE)
  local remoteVersion = validVersion(self:fetch(VERSION_FILE))

  local old
  if localVersion and localText then
    local entries, md5 = self:parseManifest(localText)
    if entries then
      old = { version = localVersion, entries = entries, md5 = md5, text = localText }
    else
      log("invalid manifest (saved) " .. md5)
    end
  end
  if old and (not remoteVersion or remoteVersion == localVersion) then
    self:adopt(old.version, old.text, old.entries, old.md5)
    self.base = baseCount(self:readFile(BASE_FILE), old.version, #old.entries)
    self:resumeSaved()
    return true
  end
  if not remoteVersion then
    log("no version")
    return false
  end

  local text = self:fetch(REMOTE_MANIFEST)
  if not text then
    log("no manifest")
    return false
  end
  local entries, md5 = self:parseManifest(text)
  if not entries then
    log("invalid manifest " .. md5)
    return nil, "invalid manifest"
  end
  local sizes = self:fetch(SIZES_FILE)
  local base = self:fetch(BASE_FILE)

  local changed, added = {}, {}
  for _, path in ipairs(entries) do
    local before = old and old.md5[path]
    if before and before ~= md5[path] then
      changed[#changed + 1] = path
    elseif old and not before then
      added[#added + 1] = path
    end
  end

  -- Changed files go unless they already are the new ones.
  local stale = {}
  for _, path in ipairs(changed) do
    local full = self.root .. path
    if self.fu:isFileExist(full) and not sameDigest(hashFile(full), md5[path]) then stale[#stale + 1] = path end
    if self:spent(EXAMINE_PATHS) then sleep() end
  end
  -- Until the new manifest is saved the old one stays in force: its saved state
  -- must not claim the files about to go (a later start without an answer from
  -- FILES resumes it).
  local oldMissing = old and self:savedMissing(old)
  if oldMissing and #stale > 0 then
    for _, path in ipairs(stale) do oldMissing[path] = true end
    if not self:writeMissing(header(old.version, self.FILES, #old.entries, #old.text), old.entries, oldMissing) then
      return nil, "state not saved"
    end
    os.remove(self.WP .. READY_FILE)
  end
  for _, path in ipairs(stale) do
    local full = self.root .. path
    if not os.remove(full) then
      local f = io.open(full, "rb")
      if f then
        f:close()
        log("delete failed " .. path)
        return nil, "delete failed"
      end
    end
  end
  local fu = self.fu
  if type(fu.purgeCachedEntries) == "function" then fu:purgeCachedEntries() end

  if not self:writeFile(MANIFEST_FILE, text) or not self:writeFile(VERSION_FILE, remoteVersion .. "\n") then
    return nil, "state not saved"
  end
  if self:validSizes(sizes, remoteVersion, #entries) then self:writeFile(SIZES_FILE, sizes) end
  self:adopt(remoteVersion, text, entries, md5)
  self.base = baseCount(base, remoteVersion, #entries)
  if base and self.base > 0 then self:writeFile(BASE_FILE, remoteVersion .. "\t" .. self.base .. "\n") end

  if oldMissing then
    self:quickCheck(changed, added, oldMissing)
  else
    self:resumeSaved()
  end
  return true
end

function Prefetch:adopt(version, text, entries, md5)
  self.version = version
  self.entries = entries
  self.md5 = md5
  self.header = header(version, self.FILES, #entries, #text)
end

-- The missing list saved for an older manifest: a set of paths, or nil when no
-- state of that manifest is known.
function Prefetch:savedMissing(old)
  local h = header(old.version, self.FILES, #old.entries, #old.text)
  local ready = self:readFile(READY_FILE)
  if ready and ready == h .. "\nREADY\n" then return {} end
  local paths = self:readPending(h, old.md5)
  if not paths then return nil end
  local set = {}
  for _, path in ipairs(paths) do set[path] = true end
  return set
end

-- The saved pending list when its header and count match, else nil.
function Prefetch:readPending(h, md5)
  local text = self:readFile(PENDING_FILE)
  if not text then return nil end
  local lines = self:splitLines(text)
  if lines[1] ~= h or #lines < 2 then return nil end
  local count = tonumber((lines[#lines]:match("^END\t(%d+)$")))
  if count ~= #lines - 2 then return nil end
  local paths = {}
  for i = 2, #lines - 1 do
    if not md5[lines[i]] then return nil end
    paths[#paths + 1] = lines[i]
    if self:spent(PARSE_LINES) then sleep() end
  end
  return paths
end

------------------------------------------------------------------------------
-- Resume: from the ready file, the pending list or the disk.

function Prefetch:resumeSaved()
  local ready = self:readFile(READY_FILE)
  if ready == self.header .. "\nREADY\n" then
    log("FAST_READY no resource scan")
    self:finishReady(false)
    return
  end
  local pending = self:readPending(self.header, self.md5)
  if pending then
    log("RESUME pending=" .. #pending)
    self:setMissing(pending)
    return
  end
  self:sample()
end

function Prefetch:sample()
  local n, base = #self.entries, self.base or 0
  local after, beforeMissing = 0, 0
  local m = math.min(SAMPLE_AFTER_BASE, n - base)
  for k = 1, m do
    local i = base + 1 + math.floor((k - 1) * (n - base) / m)
    if self:present(self.entries[i]) then after = after + 1 end
    if self:spent(EXAMINE_PATHS) then sleep() end
  end
  local mb = math.min(SAMPLE_IN_BASE, base)
  for k = 1, mb do
    local i = 1 + math.floor((k - 1) * base / mb)
    if not self:present(self.entries[i]) then beforeMissing = beforeMissing + 1 end
    if self:spent(EXAMINE_PATHS) then sleep() end
  end
  local full = after >= 2 or beforeMissing > 0
  log(string.format("SAMPLE base=%d present_after=%d/%d missing_base=%d/%d %s",
    base, after, m, beforeMissing, mb, full and "full" or "after_base"))
  if full then
    self:examine(self.entries)
  else
    local missing = {}
    for i = base + 1, n do missing[#missing + 1] = self.entries[i] end
    self:setMissing(missing)
  end
end

-- Examines the given paths; the missing ones, in the same order, are the work.
-- Every other path counts as done.
function Prefetch:examine(paths)
  self:setState("CHECKING", nil)
  local missing = {}
  for i, path in ipairs(paths) do
    if not self:present(path) then missing[#missing + 1] = path end
    if self:spent(EXAMINE_PATHS) and i < #paths then sleep() end
  end
  self:setMissing(missing)
end

-- After a version change: only changed, added and still missing paths are
-- examined, changed ones first (they are fetched first).
function Prefetch:quickCheck(changed, added, oldMissing)
  local paths, seen = {}, {}
  local function add(path)
    if not seen[path] then
      seen[path] = true
      paths[#paths + 1] = path
    end
  end
  for _, path in ipairs(changed) do add(path) end
  for _, path in ipairs(added) do add(path) end
  local still = 0
  for _, path in ipairs(self.entries) do
    if oldMissing[path] and not seen[path] then
      still = still + 1
      add(path)
    end
  end
  log(string.format("QUICK_CHECK changed=%d added=%d missing=%d", #changed, #added, still))
  self:examine(paths)
end

------------------------------------------------------------------------------
-- Work: the missing list, walked round-robin.

function Prefetch:setMissing(paths)
  self.missing = {}
  for _, path in ipairs(paths) do
    self.missing[#self.missing + 1] = { path = path, fails = 0, retryAt = 0 }
  end
  self.remaining = #self.missing
  self.cursor = 1
  self.dirty = true
  self:update()
end

function Prefetch:percent()
  local total = #self.entries
  return math.min(99, math.floor((total - self.remaining) * 100 / total))
end

-- The state that follows from the missing list.
function Prefetch:update()
  if self.remaining == 0 then
    self:finishReady(true)
    return
  end
  local waiting, live = false, false
  local t = now()
  for _, item in ipairs(self.missing) do
    if not item.done and not item.gaveUp then
      if item.queued or item.retryAt <= t then
        live = true
        break
      end
      waiting = true
    end
  end
  if live then
    self:setState("DOWNLOADING", self:percent())
  elseif waiting then
    self:setState("RETRY", self:percent())
  else
    log("gave up remaining=" .. self.remaining)
    self:save()
    self:setState("ERROR", nil)
  end
end

function Prefetch:finishReady(write)
  if self.state == "READY" then return end
  if write then
    if self:writeFile(READY_FILE, self.header .. "\nREADY\n") then os.remove(self.WP .. PENDING_FILE) end
    log("READY files=" .. #self.entries)
  end
  self:setState("READY", 100)
end

-- Saves a pending list: the header, the paths, "END" and their count.
function Prefetch:writePending(h, paths)
  local lines = { h }
  for _, path in ipairs(paths) do lines[#lines + 1] = path end
  lines[#lines + 1] = "END\t" .. #paths
  return self:writeFile(PENDING_FILE, table.concat(lines, "\n") .. "\n")
end

-- Saves the paths of a manifest that are in the set, in the manifest's order.
function Prefetch:writeMissing(h, entries, set)
  local paths = {}
  for _, path in ipairs(entries) do
    if set[path] then paths[#paths + 1] = path end
  end
  return self:writePending(h, paths)
end

function Prefetch:save()
  local paths = {}
  for _, item in ipairs(self.missing) do
    if not item.done then paths[#paths + 1] = item.path end
  end
  self.savedAt = now()
  self.dirty = false
  return self:writePending(self.header, paths)
end

function Prefetch:markDone(item)
  if item.done then return end
  item.done = true
  self.remaining = self.remaining - 1
  self.dirty = true
end

-- The queue's answer for one queued request; a second answer for the same request
-- is ignored.
function Prefetch:onDownloaded(item, request, ok, permanent)
  if item.request ~= request then return end
  item.request = nil
  item.queued = false
  local pending = self.queue.pending
  if type(pending) == "table" and pending[item.path] == request then pending[item.path] = nil end
  if ok then
    self:markDone(item)
  else
    item.fails = item.fails + 1
    if permanent or item.fails >= MAX_FAILURES then
      item.gaveUp = true
      log(string.format("give up %s fails=%d%s", item.path, item.fails, permanent and " permanent" or ""))
    else
      item.retryAt = now() + math.min(30, 2 ^ item.fails)
      log(string.format("retry %s fails=%d", item.path, item.fails))
    end
  end
  if self.state == "DOWNLOADING" or self.state == "RETRY" then self:update() end
end

function Prefetch:freeSlot(queued)
  local q = self.queue
  local inUse = (tonumber(q.active) or 0) + (type(q.list) == "table" and #q.list or 0)
  return queued < QUEUE_PER_STEP and inUse < (tonumber(self.MAXA) or 0) - FREE_SLOTS
end

function Prefetch:enqueue(item)
  local q = self.queue
  local request = {
    path = item.path,
    url = self.FILES .. item.path,
    dest = self.root .. item.path,
    md5 = self.md5[item.path],
  }
  request.onDone = function(ok, permanent) self:onDownloaded(item, request, ok, permanent) end
  item.queued = true
  item.request = request
  q.list[#q.list + 1] = request
  if type(q.pending) == "table" then q.pending[item.path] = request end
  q.pump(q)
end

-- One step of work. Returns true when it found present files (the next step then
-- comes on the next frame).
function Prefetch:work()
  local list = {}
  local cursorItem = self.missing[self.cursor]
  local cursor = 1
  for _, item in ipairs(self.missing) do
    if item == cursorItem then cursor = #list + 1 end
    if not item.done then list[#list + 1] = item end
  end
  self.missing = list
  if #list == 0 then return false end
  if cursor > #list then cursor = 1 end

  local skipped, queued, visited = false, 0, 0
  local t = now()
  local pending = self.queue.pending
  while visited < #list and not self:over(EXAMINE_PATHS) do
    local item = list[cursor]
    cursor = cursor % #list + 1
    visited = visited + 1
    if not item.done and not item.queued and not item.gaveUp and item.retryAt <= t
        and not (type(pending) == "table" and pending[item.path]) then
      if self:present(item.path) then
        self:markDone(item)
        skipped = true
      elseif self:freeSlot(queued) then
        queued = queued + 1
        self:enqueue(item)
      end
    end
    self.counts[EXAMINE_PATHS] = (self.counts[EXAMINE_PATHS] or 0) + 1
  end
  self.cursor = cursor
  return skipped
end

function Prefetch:run()
  local attempts = 0
  while true do
    attempts = attempts + 1
    self:setState("CHECKING", nil)
    local ok, reason = self:attempt()
    if ok then break end
    self:setState("ERROR", nil)
    if ok == nil then
      log("stopped: " .. reason)
      return
    end
    if attempts >= START_ATTEMPTS then
      log("stopped after " .. attempts .. " attempts")
      return
    end
    sleep(START_RETRY_MS)
  end

  while self.state == "DOWNLOADING" or self.state == "RETRY" do
    local skipped = self:work()
    if self.dirty and self.remaining > 0 and (not self.savedAt or now() - self.savedAt >= SAVE_EVERY) then
      self:save()
    end
    self:update()
    if self.state ~= "DOWNLOADING" and self.state ~= "RETRY" then break end
    sleep(skipped and FRAME_MS or WORK_MS)
  end
end

function M.new(ctx)
  local self = setmetatable({
    fu = ctx.fu,
    root = ctx.root,
    WP = ctx.WP,
    FILES = ctx.FILES,
    queue = ctx.queue,
    MAXA = ctx.MAXA,
    invalid = ctx.invalid,
    panel = ctx.panel,
    remaining = 0,
  }, Prefetch)
  self.co = coroutine.create(function() self:run() end)
  self:setState("CHECKING", nil)
  later(FRAME_MS, function() self:resume() end)
  return self
end

return M
