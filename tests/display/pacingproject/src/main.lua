-- An empty scene at the default 60 frames a second: after three seconds to settle,
-- counts the frames of the next ten seconds (by the director's own frame times),
-- prints "frames <n>" and ends the program.
local director = cc.Director:getInstance()
director:runWithScene(cc.Scene:create())

local settle, span = 3.0, 10.0
local elapsed, frames = 0, 0
director:getScheduler():scheduleScriptFunc(function(dt)
    elapsed = elapsed + dt
    if elapsed <= settle then return end
    frames = frames + 1
    if elapsed >= settle + span then
        release_print("frames " .. frames)
        director:endToLua()
    end
end, 0, false)
