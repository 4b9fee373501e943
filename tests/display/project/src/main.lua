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

-- A gradient, red at the top to blue at the bottom: 140 .. 240 x 200 .. 260.
local gradient = cc.LayerGradient:create({r = 255, g = 0, b = 0, a = 255}, {r = 0, g = 0, b = 255, a = 255})
gradient:setContentSize({width = 100, height = 60})
gradient:setPosition({x = 140, y = 200})
scene:addChild(gradient)

-- A button of the nine-slice image, 120 x 40 around (200, 130), titled "OK".
local button = ccui.Button:create("res/nine.png")
button:setScale9Enabled(true)
button:setContentSize({width = 120, height = 40})
button:setPosition({x = 200, y = 130})
button:setTitleText("OK")
button:setTitleFontSize(24)
scene:addChild(button)

-- A text widget around (450, 240).
local text = ccui.Text:create("Hello", "sans-serif", 24)
text:setPosition({x = 450, y = 240})
scene:addChild(text)

-- A clipping layout, 150 .. 230 x 290 .. 340 in blue, holding a yellow bar wider
-- than itself (110 .. 270 x 300 .. 320 unclipped).
local clip = ccui.Layout:create()
clip:setContentSize({width = 80, height = 50})
clip:setPosition({x = 150, y = 290})
clip:setBackGroundColorType(1)
clip:setBackGroundColor({r = 30, g = 90, b = 200})
clip:setClippingEnabled(true)
local wide = cc.LayerColor:create({r = 255, g = 255, b = 0, a = 255}, 160, 20)
wide:setPosition({x = -40, y = 10})
clip:addChild(wide)
scene:addChild(clip)

-- A clipping node whose stencil is a 40 x 40 square at 300 .. 340 x 60 .. 100,
-- holding an orange bar wider than it (280 .. 360 x 70 .. 90 unclipped).
local stencil = cc.LayerColor:create({r = 255, g = 255, b = 255, a = 255}, 40, 40)
local clipping = cc.ClippingNode:create(stencil)
clipping:setPosition({x = 300, y = 60})
local orange = cc.LayerColor:create({r = 255, g = 128, b = 0, a = 255}, 80, 20)
orange:setPosition({x = -20, y = 10})
clipping:addChild(orange)
scene:addChild(clipping)

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
