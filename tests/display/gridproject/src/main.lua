-- A grid node holding a red left half and a blue right half of the 640 x 360
-- design frame, turned over by FlipX3D: once the flip is over the picture is
-- drawn mirrored through the grid (blue left, red right). A few frames after, the
-- screen is captured to grid.png in the writable folder and the program ends.
local capture = require "src.capture"

local scene = cc.Scene:create()
local grid = cc.NodeGrid:create()
local left = cc.LayerColor:create({r = 255, g = 0, b = 0, a = 255}, 320, 360)
local right = cc.LayerColor:create({r = 0, g = 0, b = 255, a = 255}, 320, 360)
right:setPosition(320, 0)
grid:addChild(left)
grid:addChild(right)
scene:addChild(grid)
-- Captured a little after the flip ends, however long the first frames take.
grid:runAction(cc.Sequence:create(cc.FlipX3D:create(0.2), cc.CallFunc:create(function()
    capture.after(0.2, "grid.png")
end)))
cc.Director:getInstance():runWithScene(scene)

release_print("grid scene built")
