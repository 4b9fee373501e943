-- What the capture fixtures share (copied into each fixture's src by the test):
-- script errors printed as "LUA ERROR: ...", and capture.after(delay, file),
-- which captures the screen to file in the writable folder delay seconds in,
-- prints "captured <ok> <path>" and ends the program.
function __G__TRACKBACK__(message)
    release_print("LUA ERROR: " .. tostring(message) .. "\n" .. debug.traceback())
    return message
end

local capture = {}

function capture.after(delay, file)
    local scheduler = cc.Director:getInstance():getScheduler()
    local entry
    entry = scheduler:scheduleScriptFunc(function()
        scheduler:unscheduleScriptEntry(entry)
        cc.utils:captureScreen(function(ok, path)
            release_print("captured " .. tostring(ok) .. " " .. path)
            cc.Director:getInstance():endToLua()
        end, file)
    end, delay, false)
end

return capture
