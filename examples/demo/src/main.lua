-- Entry script of the demo project. The update (if any) has ended when this runs:
-- the resource cache comes first in the search paths, so "news.txt" below is the
-- file the update package delivered.
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

-- The demo ends here; a game would keep the director running.
director:endToLua()
