-- Staged start of the game: the game's one-shot initialiser (GameCore.init) runs
-- inside a coroutine, a slice of about 8 ms a frame, so the window keeps answering
-- while the game loads.
--
-- Where a slice may end: right after a call that the initialiser itself makes to
-- require or to the framework's addLang/addConf/add. Nothing nested (a module's
-- chunk, a pcall, a native callback) ever yields: only the initialiser's own frame,
-- the bottom frame of the coroutine, does.
--
-- Timers the initialiser creates through cc.Scheduler's scheduleScriptFunc are
-- scheduled at once but call back only once it has finished; they are dropped when
-- it fails. When it ends, whatever this script wrapped is put back where it is
-- still ours, cc.VEXOAnrFix gets status, slices and maxSliceMs, and a successful
-- start asks for a sliced collection.
--
-- A game whose modules do not have the expected shape keeps its own start.

local anr = cc.VEXOAnrFix
local now, log = anr.now, anr.log

local SLICE_BUDGET = 0.008       -- seconds of initialiser work per frame

local unpack = unpack
local select = select
local type = type
local getinfo = debug.getinfo
local running = coroutine.running
local yield = coroutine.yield

local previousRequire = require
local staged = nil               -- the staged initialisation under way, or nil
local gameCoreSeen = false       -- GameCore is looked at once

local function pack(...)
    return { n = select("#", ...), ... }
end

-- Counts a step and ends the slice once it has used its budget.
local function checkpoint(s)
    s.steps = s.steps + 1
    local used = now() - s.sliceStart
    if used >= SLICE_BUDGET then
        if used * 1000 > s.maxSliceMs then
            s.maxSliceMs = used * 1000
        end
        yield()
    end
end

-- True when the caller of the wrapper that asks is the game's initialiser running
-- as the bottom frame of the staged coroutine: the only place from which a yield
-- crosses no pcall, native call or other chunk.
local function calledByInitialiser(s)
    if not s.canYield or running() ~= s.co then
        return false
    end
    local caller = getinfo(3, "f")   -- 1 this function, 2 the wrapper, 3 its caller
    return caller ~= nil and caller.func == s.init and getinfo(4, "f") == nil
end

-- Wraps fn: after each call that the initialiser makes directly, a checkpoint.
local function withCheckpoint(s, fn)
    return function(...)
        local results = pack(fn(...))
        if staged == s and calledByInitialiser(s) then
            checkpoint(s)
        end
        return unpack(results, 1, results.n)
    end
end

-- Holds the callbacks of timers created inside the coroutine until the
-- initialiser has finished.
local function holdingScheduler(s, scheduleScriptFunc)
    return function(scheduler, callback, ...)
        if staged ~= s or running() ~= s.co or type(callback) ~= "function" then
            return scheduleScriptFunc(scheduler, callback, ...)
        end
        local id = scheduleScriptFunc(scheduler, function(...)
            if s.timersHeld then
                return
            end
            return callback(...)
        end, ...)
        s.heldTimers[#s.heldTimers + 1] = { scheduler = scheduler, id = id }
        return id
    end
end

local function restoreField(owner, key, wrapper, original)
    if owner[key] == wrapper then
        owner[key] = original
    end
end

local function finish(s, ok, err)
    staged = nil
    s.scheduler:unscheduleScriptEntry(s.tickId)
    for _, w in ipairs(s.wrapped) do
        restoreField(w.owner, w.key, w.wrapper, w.original)
    end
    restoreField(s.gameCore, "init", s.stagedInit, s.init)

    anr.status = ok and "ready" or "failed"
    anr.maxSliceMs = s.maxSliceMs
    anr.slices = s.slices
    if ok then
        s.timersHeld = false
        log(string.format("ANRBOOT done slices=%d steps=%d max_ms=%.1f total_ms=%.1f",
            s.slices, s.steps, s.maxSliceMs, (now() - s.startTime) * 1000))
        anr.collect("boot")
    else
        for _, timer in ipairs(s.heldTimers) do
            pcall(timer.scheduler.unscheduleScriptEntry, timer.scheduler, timer.id)
        end
        log("ANRBOOT failed: " .. tostring(err))
        local traceback = __G__TRACKBACK__
        if type(traceback) == "function" then
            pcall(traceback, err)
        end
    end
end

local function tick()
    local s = staged
    if not s then
        return
    end
    s.sliceStart = now()
    s.slices = s.slices + 1
    local ok, err
    if s.args then
        local args = s.args
        s.args = nil
        ok, err = coroutine.resume(s.co, unpack(args, 1, args.n))
    else
        ok, err = coroutine.resume(s.co)
    end
    local ms = (now() - s.sliceStart) * 1000
    if ms > s.maxSliceMs then
        s.maxSliceMs = ms
    end
    if not ok or coroutine.status(s.co) == "dead" then
        finish(s, ok, err)
    end
end

local function stage(gameCore, frame)
    local init = gameCore.init

    local function stagedInit(...)
        if staged then
            return
        end
        local s = {
            gameCore = gameCore,
            init = init,
            stagedInit = stagedInit,
            startTime = now(),
            sliceStart = 0,
            slices = 0,
            steps = 0,
            maxSliceMs = 0,
            canYield = getinfo(init, "S").what ~= "C",
            args = pack(...),
            wrapped = {},
            heldTimers = {},
            timersHeld = true,
        }
        -- The tick first: should the scheduler refuse it, nothing has changed yet.
        local scheduleScriptFunc = cc.Scheduler.scheduleScriptFunc
        s.scheduler = cc.Director:getInstance():getScheduler()
        s.tickId = scheduleScriptFunc(s.scheduler, tick, 0, false)
        s.co = coroutine.create(init)

        local function wrap(owner, key, wrapper)
            s.wrapped[#s.wrapped + 1] = { owner = owner, key = key, original = owner[key], wrapper = wrapper }
            owner[key] = wrapper
        end
        for _, key in ipairs({ "addLang", "addConf", "add" }) do
            wrap(frame, key, withCheckpoint(s, frame[key]))
        end
        wrap(cc.Scheduler, "scheduleScriptFunc", holdingScheduler(s, scheduleScriptFunc))

        staged = s
        anr.status = "loading"
        log("ANRBOOT staged initialization scheduled")
    end

    gameCore.init = stagedInit
end

local function inspectGameCore(gameCore)
    local frame = package.loaded["pelmora.GameFrame"]
    local scheduler = cc.Scheduler
    if type(frame) ~= "table" or type(frame.addConf) ~= "function" or type(frame.addLang) ~= "function"
            or type(frame.add) ~= "function" or type(scheduler) ~= "table" then
        log("ANRBOOT unsupported module layout; original startup retained")
        return
    end
    stage(gameCore, frame)
end

require = function(name, ...)
    local s = staged
    local results = pack(previousRequire(name, ...))
    if s and staged == s and calledByInitialiser(s) then
        checkpoint(s)
    end
    local module = results[1]
    if not gameCoreSeen and name == "GameCore" and type(module) == "table" and type(module.init) == "function" then
        gameCoreSeen = true
        inspectGameCore(module)
    end
    return unpack(results, 1, results.n)
end
