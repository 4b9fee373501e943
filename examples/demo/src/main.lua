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

-- The demo ends here; a game would keep the director running.
director:endToLua()
