-- A GL node drawing with the draw primitives, moved to (100, 100): its shapes
-- land at known design points (640 x 360, origin bottom-left). A few frames in,
-- the screen is captured to glnode.png in the writable folder and the program ends.
local capture = require "src.capture"

local DP = cc.DrawPrimitives
local scene = cc.Scene:create()
local node = cc.GLNode:create()
node:setPosition(100, 100)
node:registerScriptDrawHandler(function(transform, flags)
    -- Red square over design (100 .. 200, 100 .. 200).
    DP.drawSolidRect({x = 0, y = 0}, {x = 100, y = 100}, {r = 1, g = 0, b = 0, a = 1})
    -- Green disc of radius 40 around design (300, 150).
    DP.drawColor4B(0, 255, 0, 255)
    DP.drawSolidCircle({x = 200, y = 50}, 40, 0, 48)
    -- Yellow triangle with its corner region around design (420 .. 500, 100 .. 180).
    DP.drawColor4F(1, 1, 0, 1)
    DP.drawSolidPoly({{x = 320, y = 0}, {x = 400, y = 0}, {x = 320, y = 80}}, 3, {r = 0, g = 0, b = 1, a = 1})
    -- A big white point at design (150, 280).
    DP.drawColor4B(255, 255, 255, 255)
    DP.setPointSize(16)
    DP.drawPoint({x = 50, y = 180})
    DP.setPointSize(1)
end)
scene:addChild(node)
cc.Director:getInstance():runWithScene(scene)

capture.after(0.5, "glnode.png")
release_print("gl node scene built")
