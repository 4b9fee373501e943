-- Entry script of the demo project. The update (if any) has ended when this runs:
-- the resource cache comes first in the search paths, so "news" below is the
-- module the update package delivered, found through the search paths.
package.path = "src/?.lua;" .. package.path

local ok, news = pcall(require, "news")
if ok then
    release_print("update delivered: " .. tostring(news))
else
    release_print("no update package in the cache yet")
    news = "Mộc Hà Lục"
end

if not (cc and cc.Director and cc.Scene and cc.Label) then
    release_print("the engine's scene bindings are missing: no demo scene")
    return
end

local director = cc.Director:getInstance()
local scene = cc.Scene:create()
local label = cc.Label:createWithSystemFont(news, "sans-serif", 24)
label:setPosition(cc.p(640, 360))
scene:addChild(label)
director:replaceScene(scene)
release_print("demo scene built with " .. scene:getChildrenCount() .. " child")

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
skeleton:setPosition(cc.p(640, 200))
scene:addChild(skeleton)
skeleton:registerSkeletonEventHandler(function(t) release_print("skeleton " .. describe(t)) end, 0)
skeleton:registerSkeletonEventHandler(function(t) release_print("skeleton " .. describe(t)) end, 3)
skeleton:registerSkeletonEventHandler(function(t)
    release_print("skeleton " .. describe(t))
    director:endToLua()
end, 2)
skeleton:setAnimation(0, "wave", false)
