-- A scene of every node kind the display test looks for, each at a known place
-- (design points, origin bottom-left, 640 x 360).
function __G__TRACKBACK__(message)
    release_print("LUA ERROR: " .. tostring(message) .. "\n" .. debug.traceback())
    return message
end

local scene = cc.Scene:create()
scene:addChild(cc.LayerColor:create({r = 40, g = 40, b = 40, a = 255}, 640, 360))

local layer = cc.LayerColor:create({r = 200, g = 30, b = 30, a = 255}, 100, 80)
layer:setPosition({x = 20, y = 20})
scene:addChild(layer)

local sprite = cc.Sprite:create("res/sprite.png")
sprite:setPosition({x = 200, y = 60})
scene:addChild(sprite)

local label = cc.Label:createWithSystemFont("Xin chào", "sans-serif", 24)
label:setPosition({x = 320, y = 300})
scene:addChild(label)

local nine = ccui.Scale9Sprite:create("res/nine.png")
nine:setContentSize({width = 120, height = 60})
nine:setPosition({x = 480, y = 80})
scene:addChild(nine)

local bar = ccui.LoadingBar:create()
bar:loadTexture("res/bar.png")
bar:setPercent(50)
bar:setPosition({x = 320, y = 180})
scene:addChild(bar)

local shapes = cc.DrawNode:create()
shapes:drawSolidRect({x = 20, y = 200}, {x = 120, y = 260}, {r = 0, g = 1, b = 1, a = 1})
scene:addChild(shapes)

-- A skeleton in its setup pose: a 32 x 32 orange block around (600, 130).
local skeleton = sp.SkeletonAnimation:create("res/skeleton/demo.json", "res/skeleton/demo.atlas")
skeleton:setPosition({x = 600, y = 130})
scene:addChild(skeleton)

-- The touch target: an invisible widget over the sprite's right, 100 x 80 around (540, 250).
local target = ccui.Layout:create()
target:setContentSize({width = 100, height = 80})
target:setPosition({x = 540, y = 250})
target:setTouchEnabled(true)
target:addTouchEventListener(function(sender, kind)
    if kind == 0 then release_print("touch began on the target") end
    if kind == 2 then release_print("touch ended on the target") end
end)
scene:addChild(target)

-- Keys and the mouse as the scripts' listeners hear them (design points, y up).
local dispatcher = cc.Director:getInstance():getEventDispatcher()
local keys = cc.EventListenerKeyboard:create()
keys:registerScriptHandler(function(code) release_print("key pressed " .. code) end, 38)
dispatcher:addEventListenerWithSceneGraphPriority(keys, scene)
local function at(event)
    return string.format("%d,%d", math.floor(event:getCursorX() + 0.5), math.floor(event:getCursorY() + 0.5))
end
local mouse = cc.EventListenerMouse:create()
mouse:registerScriptHandler(function(e) release_print("mouse down " .. e:getMouseButton() .. " at " .. at(e)) end, 48)
mouse:registerScriptHandler(function(e) release_print("mouse move to " .. at(e)) end, 50)
mouse:registerScriptHandler(function(e)
    release_print(string.format("mouse scroll %g at %s", e:getScrollY(), at(e)))
end, 51)
dispatcher:addEventListenerWithSceneGraphPriority(mouse, scene)

cc.Director:getInstance():replaceScene(scene)
release_print("display scene built")
