-- Bridge bootstrap: run once by the native bridge when the scripts start.
--  1. keeps the account value "yorn_acount" of cc.UserDefault protected;
--  2. prepares the gateway prefetch (started when YornTools is first required);
--  3. wraps require: Platform's native calls go to vexo_native first, and
--     YornTools' httpGetJson takes the prefetched gateway reply once.
-- Every patch is applied once per table (marker fields).

local function log(text)
    local out = release_print or print
    pcall(out, "[VEXOGW] " .. tostring(text))
end

-- 1. The secure account value.
if type(cc) == "table" and type(cc.UserDefault) == "table"
        and type(cc.UserDefault.setStringForKey) == "function"
        and not rawget(cc.UserDefault, "__vexo_secure") then
    local store = cc.UserDefault
    rawset(store, "__vexo_secure", true)
    local secureKeys = { yorn_acount = true }
    local previousSet = store.setStringForKey
    local previousGet = store.getStringForKey

    rawset(store, "setStringForKey", function(self, k, v, ...)
        if secureKeys[k] and type(v) == "string" and v ~= "" then
            v = vexo_secure_protect(v) or ""
        end
        return previousSet(self, k, v, ...)
    end)

    if type(previousGet) == "function" then
        rawset(store, "getStringForKey", function(self, k, ...)
            local v = previousGet(self, k, ...)
            if secureKeys[k] and type(v) == "string" and v ~= "" then
                local plain, why = vexo_secure_unprotect(v)
                if plain then
                    return plain
                end
                if why == "notblob" then
                    previousSet(self, k, vexo_secure_protect(v) or "")
                    return v
                end
                return ""
            end
            return v
        end)
    end
end

-- 2. The gateway prefetch.
local prefetch = nil          -- {url, done, waiters, consumed, response, status}
local prefetchTried = false

local function startPrefetch()
    if prefetchTried then
        return
    end
    prefetchTried = true
    local files = cc.FileUtils:getInstance()
    if not files:isFileExist("fenk/gateway") then
        return
    end
    local text = files:getStringFromFile("fenk/gateway")
    if type(text) ~= "string" or text == "" then
        return
    end
    local url = string.match(text, "%S+")
    if not url then
        return
    end
    local record = { url = url, done = false, waiters = {}, consumed = false }
    local xhr = cc.XMLHttpRequest:new()
    xhr.responseType = 4
    xhr:open("GET", url)
    xhr:registerScriptHandler(function()
        record.done = true
        record.response = xhr.response
        record.status = xhr.status
        local size = type(record.response) == "string" and #record.response or -1
        log("prefetch done status=" .. tostring(record.status) .. " bytes=" .. size)
        local waiters = record.waiters
        record.waiters = {}
        for _, waiter in ipairs(waiters) do
            local ok, err = pcall(waiter)
            if not ok then
                log("loi trao ket qua: " .. tostring(err))
            end
        end
    end)
    xhr:send()
    -- Published only once the request is under way: a waiter always gets its answer.
    prefetch = record
    log("prefetch start " .. url)
end

local function wrapHttpGetJson(module)
    local previous = module.httpGetJson
    module.httpGetJson = function(...)
        local fullurl, func = ...
        local record = prefetch
        if not record or record.consumed or record.url ~= fullurl then
            return previous(...)
        end
        record.consumed = true
        local count = select("#", ...)
        local args = { ... }

        local function deliver()
            local data
            local decode = type(json) == "table" and json.decode
            if type(record.response) == "string" and record.response ~= "" and type(decode) == "function" then
                local ok, result = pcall(decode, record.response)
                if ok then
                    data = result
                end
            end
            if type(data) == "table" then
                log("GW recv (prefetched)")
                func(data)
            else
                log("prefetch khong dung duoc (status=" .. tostring(record.status) .. ") -> tai lai qua mang")
                previous(unpack(args, 1, count))
            end
        end

        if record.done then
            local ok = pcall(function()
                local scheduler = cc.Director:getInstance():getScheduler()
                local entry
                entry = scheduler:scheduleScriptFunc(function()
                    scheduler:unscheduleScriptEntry(entry)
                    deliver()
                end, 0, false)
            end)
            if not ok then
                return previous(unpack(args, 1, count))
            end
        else
            record.waiters[#record.waiters + 1] = deliver
        end
    end
end

-- 3. require.
local previousRequire = require
require = function(name, ...)
    local module = previousRequire(name, ...)
    if name == "Platform" and type(module) == "table" and not module.__vexo_win then
        module.__vexo_win = true
        local previousCall = module.callNativeFunc
        module.callNativeFunc = function(self, cls, mth, args, sig)
            local ok, result = pcall(vexo_native, cls, mth, args)
            if ok and result ~= nil then
                return result
            end
            if previousCall then
                return previousCall(self, cls, mth, args, sig)
            end
            return nil
        end
        local previousNotError = module.callNativeFuncNotError
        if previousNotError then
            module.callNativeFuncNotError = function(self, cls, mth, args, sig)
                local ok, result = pcall(vexo_native, cls, mth, args)
                if ok and result ~= nil then
                    return true, result
                end
                return previousNotError(self, cls, mth, args, sig)
            end
        end
    elseif name == "YornTools" and type(module) == "table" and type(module.httpGetJson) == "function"
            and not module.__vexo_gwpf then
        module.__vexo_gwpf = true
        local ok, err = pcall(wrapHttpGetJson, module)
        if not ok then
            log("loi boc httpGetJson: " .. tostring(err))
        end
        ok, err = pcall(startPrefetch)
        if not ok then
            log("loi nap truoc gateway: " .. tostring(err))
        end
    end
    return module
end
