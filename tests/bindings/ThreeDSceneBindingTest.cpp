// The 3D scene classes, materials, 3D particles, the frame buffer and the
// arranging widgets as scripts use them: settings read back, the objects and
// arrays methods hand out, and the numbers scripts give turned into engine values.
#include <gtest/gtest.h>

#include <string>

#include "../support/TestSupport.h"
#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/base/AutoreleasePool.h"

namespace bindingtest {
namespace {

class ThreeDSceneBindingTest : public BindingStackTest {
protected:
    // The modules the script start adds: ui, extension, 3d.
    void SetUp() override {
        BindingStackTest::SetUp();
        bindings::register_ui_module(L);
        bindings::register_extension_module(L);
        bindings::register_3d_module(L);
    }
    void TearDown() override {
        BindingStackTest::TearDown();
        engine::AutoreleasePool::getInstance()->clear();
    }
};

TEST_F(ThreeDSceneBindingTest, LightsAndBrushesKeepTheirSettings) {
    const ChunkCase cases[] = {
        {"spot light",
         "l = cc.SpotLight:create({x = 0, y = 0, z = -1}, {x = 1, y = 2, z = 3}, {r = 255, g = 0, b = 0}, 0, "
         "math.pi / 3, 100) l:setIntensity(0.5) l:setLightFlag(4) l:setEnabled(false)",
         "string.format('%s %d %.1f %d %s %.2f %.2f %d %d %g', tolua.type(l), l:getLightType(), l:getIntensity(), "
         "l:getLightFlag(), tostring(l:isEnabled()), l:getCosInnerAngle(), l:getCosOuterAngle(), l:getRange(), "
         "l:getColor().r, (l:getPosition()))",
         "cc.SpotLight 2 0.5 4 false 1.00 0.50 100 255 1"},
        {"direction light turned with its parent",
         "p = cc.Node:create() p:setRotation(90) d = cc.DirectionLight:create({x = 1, y = 0, z = 0}, "
         "{r = 1, g = 2, b = 3}) p:addChild(d)",
         "string.format('%d %d %.0f %.0f', d:getLightType(), d:getDirection().x, d:getDirectionInWorld().x, "
         "d:getDirectionInWorld().y)",
         "0 1 0 -1"},
        {"point and ambient lights",
         "pl = cc.PointLight:create({x = 0, y = 0, z = 0}, {r = 9, g = 9, b = 9}, 30) pl:setRange(40) "
         "al = cc.AmbientLight:create({r = 7, g = 8, b = 9})",
         "pl:getLightType() .. ' ' .. pl:getRange() .. ' ' .. al:getLightType() .. ' ' .. al:getColor().b",
         "1 40 3 9"},
        {"a camera's brush, depth until set",
         "c = cc.Camera:create() first = c:getBackgroundBrush():getBrushType() "
         "b = cc.CameraBackgroundBrush:createColorBrush({r = 1, g = 0.5, b = 0, a = 1}, 1) c:setBackgroundBrush(b)",
         "first .. ' ' .. tolua.type(c:getBackgroundBrush()) .. ' ' .. c:getBackgroundBrush():getBrushType() .. ' ' "
         ".. b:getColor().g .. ' ' .. tostring(c:getBackgroundBrush() == b)",
         "1 cc.CameraBackgroundColorBrush 2 0.5 true"},
        {"depth and sky brushes",
         "db = cc.CameraBackgroundBrush:createDepthBrush() sb = cc.CameraBackgroundSkyBoxBrush:create() "
         "nb = cc.CameraBackgroundBrush:createNoneBrush()",
         "tolua.type(db) .. ' ' .. db:getDepth() .. ' ' .. sb:getBrushType() .. ' ' .. tostring(sb:isActived()) .. ' "
         "' .. nb:getBrushType() .. ' ' .. tostring(cc.Skybox:create('a', 'b', 'c', 'd', 'e', 'f'))",
         "cc.CameraBackgroundDepthBrush 1 3 false 0 nil"},
    };
    runCases(cases);
}

TEST_F(ThreeDSceneBindingTest, MaterialsHandOutTheirTechniquesAndPasses) {
    testsupport::TempDir dir;
    const std::string path = dir.write("two.material",
                                       "material two\n{\n technique a\n {\n  pass p1\n  {\n  }\n  pass p2\n  {\n"
                                       "   renderState\n   {\n    depthTest = true\n   }\n  }\n }\n"
                                       " technique b\n {\n }\n}\n");
    ASSERT_EQ(run("m = cc.Material:createWithFilename('" + path + "')"), "");
    const ChunkCase cases[] = {
        {"techniques in order", "ts = m:getTechniques()",
         "#ts .. ' ' .. tolua.type(ts[1]) .. ' ' .. ts[1]:getName() .. ' ' .. ts[2]:getName() .. ' ' .. "
         "m:getTechniqueCount() .. ' ' .. m:getName()",
         "2 cc.Technique a b 2 two"},
        {"passes in order", "ps = m:getTechnique():getPasses()",
         "#ps .. ' ' .. tolua.type(ps[2]) .. ' ' .. ps[2]:getName() .. ' ' .. tostring(ps[2]:getTechnique() == "
         "m:getTechnique()) .. ' ' .. #m:getTechniqueByName('b'):getPasses()",
         "2 cc.Pass p2 true 0"},
        {"state blocks", "sb = ps[2]:getStateBlock() own = cc['RenderState::StateBlock']:create() own:setDepthFunction(515)",
         "tolua.type(sb) .. ' ' .. tostring(sb:isDepthTest()) .. ' ' .. own:getDepthFunction() .. ' ' .. "
         "own:getSetBits()",
         "cc.RenderState::StateBlock true 515 32"},
        {"a technique of its own", "t = cc.Technique:create(m) t:setName('c') t:addPass(cc.Pass:create(t)) m:addTechnique(t)",
         "#m:getTechniques() .. ' ' .. m:getTechniqueByIndex(2):getPassCount() .. ' ' .. "
         "tostring(m:getTechniqueByName('c') == t)",
         "3 1 true"},
        {"attribute bindings", "v = cc.VertexAttribBinding:create(nil) ok = v:setVertexAttribPointer('a_texCoord', 2, 5126, false, 20, 12)"
         " bad = v:setVertexAttribPointer('a_weird', 2, 5126, false, 20, 12)",
         "tostring(ok) .. ' ' .. tostring(bad) .. ' ' .. v:getVertexAttribsFlags()", "true false 4"},
    };
    runCases(cases);
}

TEST_F(ThreeDSceneBindingTest, ParticlesFrameBuffersAndWidgets) {
    const ChunkCase cases[] = {
        {"PU system with a named emitter",
         "s = cc.PUParticleSystem3D:create() e = cc.PUEmitter:create() e:setName('jet') e:setEmissionRate(4) "
         "s:addEmitter(e) s:setDefaultWidth(3) s:forceUpdate(1)",
         "tolua.type(s) .. ' ' .. s:getAliveParticleCount() .. ' ' .. #s:getEmitters() .. ' ' .. "
         "tolua.type(s:getEmitter('jet')) .. ' ' .. s:getDefaultWidth() .. ' ' .. s:getState()",
         "cc.PUParticleSystem3D 4 1 cc.PUEmitter 3 0"},
        {"the plain system runs and stops",
         "p = cc.ParticleSystem3D:create() p:setEmitter(cc.PUEmitter:create()) p:startParticleSystem() "
         "st = p:getState() p:stopParticleSystem()",
         "st .. ' ' .. p:getState() .. ' ' .. tolua.type(p:getEmitter()) .. ' ' .. p:getParticleQuota()",
         "1 0 cc.PUEmitter 500"},
        {"frame buffer",
         "f = ccexp.FrameBuffer:create(258, 64, 32) f:setClearColor({r = 0, g = 1, b = 0, a = 1}) "
         "f:setClearStencil(-1)",
         "f:getFID() .. ' ' .. f:getWidth() .. 'x' .. f:getHeight() .. ' ' .. f:getClearColor().g .. ' ' .. "
         "f:getClearStencil() .. ' ' .. tolua.type(f:getRenderTarget())",
         "2 64x32 1 -1 cc.Texture2D"},
        {"opacities keep their low 8 bits",
         "t = ccui.RichElementText:create(7, {r = 1, g = 2, b = 3}, 300, 'hi', 'Arial', 12)",
         "t:getOpacity() .. ' ' .. t:getTag() .. ' ' .. t:getText() .. ' ' .. t:getType()", "44 7 hi 0"},
        {"rich text laid out",
         "r = ccui.RichText:create() r:pushBackElement(t) r:pushBackElement(ccui.RichElementText:create(0, "
         "{r = 0, g = 0, b = 0}, 255, 'abcd', 'Arial', 20)) r:formatText()",
         "#r:getElements() .. ' ' .. r:getContentSize().width .. ' ' .. r:getLineCount()", "2 52 1"},
        {"boxes",
         "h = ccui.HBox:create({width = 100, height = 50}) v = ccui.VBox:create() rb = ccui.RelativeBox:create()",
         "h:getLayoutType() .. ' ' .. h:getContentSize().width .. ' ' .. v:getLayoutType() .. ' ' .. "
         "rb:getLayoutType() .. ' ' .. tolua.type(h)",
         "2 100 1 3 ccui.HBox"},
        {"layout component", "n = cc.Node:create() lc = ccui.LayoutComponent:bindLayoutComponent(n) lc:setHorizontalEdge(3)",
         "tolua.type(lc) .. ' ' .. lc:getHorizontalEdge() .. ' ' .. tostring(lc:getOwner() == n)",
         "ccui.LayoutComponent 3 true"},
        {"text atlas without its map", "a = ccui.TextAtlas:create('123', 'none.png', 10, 20, '0')",
         "a:getStringLength() .. ' ' .. a:getContentSize().width .. ' ' .. a:getString()", "3 30 123"},
        {"billboard modes", "bb = cc.BillBoard:create(1)", "tolua.type(bb) .. ' ' .. bb:getMode()", "cc.BillBoard 1"},
        {"animations missing their file", "", "tostring(cc.Animation3D:create('none.c3t'))", "nil"},
    };
    runCases(cases);
}

}  // namespace
}  // namespace bindingtest
