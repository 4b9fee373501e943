-- Entry script of the demo project. The update (if any) has ended when this runs:
-- the resource cache comes first in the search paths, so "news.txt" below is the
-- file the update package delivered.
-- The script host reports a script error only through this handler, as games do.
function __G__TRACKBACK__(message)
    release_print("LUA ERROR: " .. tostring(message) .. "\n" .. debug.traceback())
    return message
end

-- One memory warning, as a phone would raise under pressure: the client answers
-- it with a collection spread over frames (its "ANRGC" lines).
vexoOnMemoryWarning()

local files = cc.FileUtils:getInstance()
local news = files:isFileExist("news.txt") and files:getStringFromFile("news.txt"):gsub("%s+$", "") or nil
if news then
    release_print("update delivered: " .. news)
else
    release_print("no update package in the cache yet")
end

local director = cc.Director:getInstance()
local scene = cc.Scene:create()
if cc.Label then
    local label = cc.Label:createWithSystemFont(news or "Mộc Hà Lục", "sans-serif", 24)
    label:setPosition({x = 640, y = 360})
    scene:addChild(label)
end
director:replaceScene(scene)
release_print("demo scene built with " .. scene:getChildrenCount() .. " child node(s)")

-- A small skeleton waves once; its notifications arrive as tables. The demo ends
-- when the wave completes (a game would keep the director running).
local function describe(t)
    local text = t.type .. " track " .. t.trackIndex .. " animation " .. t.animation .. " loops " .. t.loopCount
    if t.eventData then
        text = text .. " event " .. t.eventData.name .. " (" .. t.eventData.intValue .. ", " ..
               t.eventData.floatValue .. ", '" .. t.eventData.stringValue .. "')"
    end
    return text
end

if not (sp and sp.SkeletonAnimation) then
    release_print("the skeleton bindings are missing: no skeleton")
    director:endToLua()
    return
end

local skeleton = sp.SkeletonAnimation:create("res/skeleton/demo.json", "res/skeleton/demo.atlas")
skeleton:setPosition({x = 640, y = 200})
scene:addChild(skeleton)
skeleton:registerSkeletonEventHandler(function(t) release_print("skeleton " .. describe(t)) end, 0)
skeleton:registerSkeletonEventHandler(function(t) release_print("skeleton " .. describe(t)) end, 3)
skeleton:registerSkeletonEventHandler(function(t)
    release_print("skeleton " .. describe(t))
    director:endToLua()
end, 2)
skeleton:setAnimation(0, "wave", false)
