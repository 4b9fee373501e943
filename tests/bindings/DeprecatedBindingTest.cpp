// The former script API as older game scripts call it: point, rectangle and size
// tables, CCArray, CCString, the old labels, the kmGL matrix functions and tolua.cast
// with old names.
#include <gtest/gtest.h>

#include <string>

#include <tolua++.h>

#include "BindingTestSupport.h"
#include "bindings/deprecated/LuaDeprecated.h"
#include "engine/base/Director.h"
#include "engine/base/Mat4.h"
#include "engine/files/FileUtils.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

class DeprecatedBindingTest : public LuaEngineBindingTest {
protected:
    const engine::Mat4& modelView() {
        return engine::Director::getInstance()->getMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    }
};

TEST_F(DeprecatedBindingTest, PointRectAndSizeArePlainTables) {
    runCases({
        {"call of the point table", "p = CCPoint(3, 4)", "type(p) .. ' ' .. p.x .. ' ' .. p.y", "table 3 4"},
        {"point without arguments", "p = CCPoint:new()", "p.x .. ' ' .. p.y", "0 0"},
        {"size without arguments", "s = CCSize:new()", "s.width .. ' ' .. s.height", "0 0"},
        {"size from numbers", "s = CCSize:new_local(5, 6)", "s.width .. ' ' .. s.height", "5 6"},
        {"rectangle from numbers", "r = CCRect(1, 2, 3, 4)", "r.x .. r.y .. r.width .. r.height", "1234"},
        {"rectangle without arguments", "r = CCRect()", "r.x .. r.y .. r.width .. r.height", "0000"},
    });
}

TEST_F(DeprecatedBindingTest, ArrayOperations) {
    ASSERT_EQ(run("a, b, c, out = cc.Node:create(), cc.Node:create(), cc.Node:create(), cc.Node:create()\n"
                  "arr = CCArray:create(); arr:addObject(a); arr:addObject(b); arr:addObject(c)\n"
                  "function names(x) local t = {} for i = 0, x:count() - 1 do "
                  "local o = x:objectAtIndex(i) t[#t + 1] = o == a and 'a' or o == b and 'b' or o == c and 'c' or "
                  "o == out and 'o' or '?' end return table.concat(t) end"),
              "");
    runCases({
        {"count and order", "", "tolua.type(arr) .. ' ' .. arr:count() .. ' ' .. names(arr)", "CCArray 3 abc"},
        {"index of an object not held", "", "arr:indexOfObject(out)", "4294967295"},
        {"index of a held object", "", "arr:indexOfObject(c)", "2"},
        {"getter at the count", "", "tostring(arr:objectAtIndex(3))", "nil"},
        {"getter far past the count", "", "tostring(arr:objectAtIndex(4294967295))", "nil"},
        {"last object", "", "arr:lastObject() == c", "true"},
        {"contains", "", "tostring(arr:containsObject(b)) .. tostring(arr:containsObject(out))", "truefalse"},
        {"insert past the count changes nothing", "arr:insertObject(out, 4)", "names(arr)", "abc"},
        {"insert at the count appends", "arr:insertObject(out, 3)", "names(arr)", "abco"},
        {"replace past the count changes nothing", "arr:replaceObjectAtIndex(4, a)", "names(arr)", "abco"},
        {"remove past the count changes nothing", "arr:removeObjectAtIndex(4); arr:fastRemoveObjectAtIndex(4)",
         "names(arr)", "abco"},
        {"exchange by index, one past the count", "arr:exchangeObjectAtIndex(0, 4)", "names(arr)", "abco"},
        {"exchange by index", "arr:exchangeObjectAtIndex(0, 3)", "names(arr)", "obca"},
        {"exchange objects", "arr:exchangeObject(out, a)", "names(arr)", "abco"},
        {"reverse", "arr:reverseObjects()", "names(arr)", "ocba"},
        {"fast remove moves the last in", "arr:fastRemoveObjectAtIndex(0)", "names(arr)", "acb"},
        {"copy is equal", "copy = CCArray:createWithArray(arr)", "tostring(copy:isEqualToArray(arr)) .. names(copy)",
         "trueacb"},
        {"remove those in another array", "arr:removeObjectsInArray(CCArray:createWithObject(c))", "names(arr)", "ab"},
        {"add from an array", "arr:addObjectsFromArray(copy)", "names(arr)", "abacb"},
        {"remove last", "arr:removeLastObject()", "names(arr)", "abac"},
        {"remove object takes the first", "arr:removeObject(a)", "names(arr)", "bac"},
        {"remove all", "arr:removeAllObjects()", "arr:count() .. ' ' .. tostring(arr:lastObject())", "0 nil"},
        {"capacity", "big = CCArray:createWithCapacity(10)", "big:capacity() .. ' ' .. big:count()", "10 0"},
        {"footprint shrinks to the count", "big:addObject(a); big:reduceMemoryFootprint()", "big:capacity()", "1"},
        {"random object of one", "", "big:randomObject() == a", "true"},
        {"random object of none", "", "tostring(CCArray:create():randomObject())", "nil"},
        {"missing file", "", "tostring(CCArray:createWithContentsOfFile('no/such.plist'))", "nil"},
    });
}

// A property-list file's top array, its values as strings, nested lists as
// arrays and dictionaries.
TEST_F(DeprecatedBindingTest, ArrayFromAPropertyListFile) {
    testsupport::TempDir dir;
    const std::string list = dir.write(
        "list.plist",
        "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><array><string>one</string><integer>2</integer>"
        "<real>2.5</real><true/><array><string>in</string></array><dict><key>k</key><string>v</string></dict>"
        "</array></plist>");
    const std::string dict = dir.write("dict.plist", "<plist><dict><key>k</key><string>v</string></dict></plist>");
    const std::string junk = dir.write("junk.plist", "not a property list");
    ASSERT_EQ(run("function text(x) return tolua.cast(x, 'CCString'):getCString() end\n"
                  "arr = CCArray:createWithContentsOfFile('" + list + "')"),
              "");
    runCases({
        {"values in order as text", "",
         "arr:count() .. ' ' .. text(arr:objectAtIndex(0)) .. ' ' .. text(arr:objectAtIndex(1)) .. ' ' .. "
         "text(arr:objectAtIndex(2)) .. ' ' .. text(arr:objectAtIndex(3))",
         "6 one 2 2.5 true"},
        {"a nested array", "inner = tolua.cast(arr:objectAtIndex(4), 'CCArray')",
         "inner:count() .. ' ' .. text(inner:objectAtIndex(0))", "1 in"},
    });
    EXPECT_EQ(eval("CCArray:createWithContentsOfFile('" + dict + "'):count()"), "0") << "top value not an array";
    EXPECT_EQ(eval("CCArray:createWithContentsOfFile('" + junk + "'):count()"), "0") << "not a property list";
}

// releaseObj false leaves the array's reference with the caller.
TEST_F(DeprecatedBindingTest, RemovalReleasesUnlessAskedNotTo) {
    ASSERT_EQ(run("n = cc.Node:create(); base = n:getReferenceCount(); arr = CCArray:create()"), "");
    const struct {
        const char* removal;
        int extraReferences;
    } cases[] = {
        {"arr:removeObject(n)", 0},
        {"arr:removeObject(n, true)", 0},
        {"arr:removeObject(n, false)", 1},
        {"arr:removeObjectAtIndex(0)", 0},
        {"arr:removeObjectAtIndex(0, false)", 1},
        {"arr:removeLastObject(false)", 1},
        {"arr:replaceObjectAtIndex(0, n, false); arr:removeAllObjects()", 1},
        {"arr:fastRemoveObject(n)", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removal);
        ASSERT_EQ(run("arr:addObject(n); " + std::string(c.removal)), "");
        EXPECT_EQ(eval("n:getReferenceCount() - base"), std::to_string(c.extraReferences));
        // The reference the array gave up is the test's to drop.
        lua_getglobal(L, "n");
        auto* node = static_cast<engine::Ref*>(tolua_tousertype(L, -1, nullptr));
        lua_pop(L, 1);
        ASSERT_NE(node, nullptr);
        for (int i = 0; i < c.extraReferences; ++i) node->release();
    }
}

TEST_F(DeprecatedBindingTest, StringValues) {
    testsupport::TempDir dir;
    dir.write("note.txt", "12.5 apples");
    ASSERT_EQ(run("PATH = '" + dir.path() + "/note.txt'"), "");
    runCases({
        {"numbers of a leading number", "s = CCString:create('12.5 apples')",
         "s:intValue() .. ' ' .. s:uintValue() .. ' ' .. s:floatValue() .. ' ' .. s:doubleValue()", "12 12 12.5 12.5"},
        {"text and length", "", "tolua.type(s) .. ' ' .. s:getCString() .. ' ' .. s:length()", "CCString 12.5 apples 11"},
        {"compare", "", "s:compare('12.5 apples') .. ' ' .. (s:compare('2') < 0 and 'less' or 'more')", "0 less"},
        {"equal to a string of the same text", "", "s:isEqual(CCString:create('12.5 apples'))", "true"},
        {"any engine object", "", "s:isEqual(cc.Node:create())", "false"},
        {"truth", "",
         "tostring(CCString:create(''):boolValue()) .. tostring(CCString:create('0'):boolValue()) .. "
         "tostring(CCString:create('false'):boolValue()) .. tostring(CCString:create('x'):boolValue())",
         "falsefalsefalsetrue"},
        {"data up to the length", "", "CCString:createWithData('abcdef', 3):getCString()", "abc"},
        {"data past its end", "", "CCString:createWithData('ab', 100):getCString()", "ab"},
        {"file", "", "CCString:createWithContentsOfFile(PATH):getCString()", "12.5 apples"},
        {"missing file", "", "tostring(CCString:createWithContentsOfFile(PATH .. '.none'))", "nil"},
    });
}

TEST_F(DeprecatedBindingTest, OldLabelsKeepTheirSettings) {
    testsupport::TempDir dir;
    dir.write("round.ttf", "ttf");
    dir.write("plain.fnt", "info");
    dir.write("other.fnt", "info");
    ASSERT_EQ(run("DIR = '" + dir.path() + "/'"), "");
    runCases({
        {"system font", "t = cc.LabelTTF:create('hi', 'Arial', 20)",
         "tolua.type(t) .. ' ' .. t:getString() .. ' ' .. t:getFontName() .. ' ' .. t:getFontSize() .. ' ' .. "
         "t:getHorizontalAlignment() .. t:getVerticalAlignment()",
         "cc.LabelTTF hi Arial 20 10"},
        {"font file with box and alignments",
         "t = cc.LabelTTF:create('ab', DIR .. 'round.ttf', 10, {width = 30, height = 0}, 2, 1)",
         "t:getFontName() == DIR .. 'round.ttf' and t:getDimensions().width .. ' ' .. t:getHorizontalAlignment() .. "
         "t:getVerticalAlignment()",
         "30 21"},
        {"font file not found", "", "tostring(cc.LabelTTF:create('ab', DIR .. 'none.ttf', 10))", "nil"},
        {"setters", "t:setString('yo'); t:setFontSize(14); t:setHorizontalAlignment(0); t:setVerticalAlignment(2); "
         "t:setDimensions({width = 5, height = 6})",
         "t:getString() .. t:getFontSize() .. t:getHorizontalAlignment() .. t:getVerticalAlignment() .. "
         "t:getDimensions().width .. t:getDimensions().height",
         "yo140256"},
        {"missing font name keeps the label", "t:setFontName(DIR .. 'none.ttf')",
         "t:getFontName() == DIR .. 'round.ttf' and t:getString()", "yo"},
        {"stroke and shadow in the definition",
         "t:enableStroke({r = 1, g = 2, b = 3}, 2); t:enableShadow({width = 4, height = 5}, 1, 1); d = t:getTextDefinition()",
         "tostring(d.strokeEnabled) .. d.strokeSize .. d.strokeColor.b .. tostring(d.shadowEnabled) .. "
         "d.shadowOffset.width .. d.fontSize",
         "true23true414"},
        {"stroke and shadow off", "t:disableStroke(); t:disableShadow(); d = t:getTextDefinition()",
         "tostring(d.strokeEnabled) .. tostring(d.shadowEnabled)", "falsefalse"},
        {"from a definition", "t = cc.LabelTTF:createWithFontDefinition('x', {fontName = 'Sans', fontSize = 18})",
         "t:getFontName() .. t:getFontSize() .. t:getString()", "Sans18x"},
        {"new", "", "tolua.type(cc.LabelTTF:new()) .. ' ' .. tolua.type(cc.LabelBMFont:new())",
         "cc.LabelTTF cc.LabelBMFont"},
        {"bitmap font", "b = cc.LabelBMFont:create('abc', DIR .. 'plain.fnt')",
         "tolua.type(b) .. ' ' .. b:getString() .. ' ' .. tostring(b:getFntFile() == DIR .. 'plain.fnt')",
         "cc.LabelBMFont abc true"},
        {"bitmap font not found", "", "tostring(cc.LabelBMFont:create('abc', DIR .. 'none.fnt'))", "nil"},
        {"bitmap font setters",
         "b:setString('de'); b:setFntFile(DIR .. 'other.fnt'); b:setFntFile(DIR .. 'none.fnt'); "
         "b:setOpacityModifyRGB(true); b:setWidth(40); b:setAlignment(1)",
         "b:getString() .. ' ' .. tostring(b:getFntFile() == DIR .. 'other.fnt') .. ' ' .. "
         "tostring(b:isOpacityModifyRGB()) .. ' ' .. tostring(b:getLetter(0))",
         "de true true nil"},
        {"blend functions", "b:setBlendFunc({src = 770, dst = 1}); t:setBlendFunc({src = 1, dst = 0})",
         "b:getBlendFunc().src .. b:getBlendFunc().dst .. t:getBlendFunc().src .. t:getBlendFunc().dst", "770110"},
    });
}

TEST_F(DeprecatedBindingTest, ArgumentAndSelfErrors) {
    ASSERT_EQ(run("arr = CCArray:create(); s = CCString:create('x')"), "");
    const struct {
        const char* call;
        const char* error;
    } cases[] = {
        {"CCPoint:new(1)", "error in function 'new'."},
        {"CCSize:new('a', 'b')", "error in function 'new'."},
        {"CCRect.new_local(1, 2, 3, 4)", "error in function 'new'."},
        {"arr:addObject(1)", "error in function 'addObject'."},
        {"arr:addObject()", "error in function 'addObject'."},
        {"arr:count(1)", "error in function 'count'."},
        {"arr:objectAtIndex('x')", "error in function 'objectAtIndex'."},
        {"arr:removeObject(arr, 1)", "error in function 'removeObject'."},
        {"arr.count(cc.Node:create())", "error in function 'count'."},
        {"CCArray.create()", "error in function 'create'."},
        {"CCArray:createWithArray(cc.Node:create())", "error in function 'createWithArray'."},
        {"s:compare()", "error in function 'compare'."},
        {"s:isEqual(1)", "error in function 'isEqual'."},
        {"CCString:createWithData('ab')", "error in function 'createWithData'."},
        {"kmGLPushMatrix(1)", "error in function 'kmGLPushMatrix'."},
        {"kmGLTranslatef(1, 2)", "error in function 'kmGLTranslatef'."},
        {"kmGLLoadMatrix(1)", "error in function 'kmGLLoadMatrix'."},
        {"kmGLLoadMatrix({1, 'x'})", "error in function 'kmGLLoadMatrix'."},
        {"CCArray.count(tolua.cast(cc.Node:create(), 'CCArray'))", "invalid 'self' in function 'count'"},
        {"CCString.length(tolua.cast(cc.Node:create(), 'CCString'))", "invalid 'self' in function 'length'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        const std::string error = run(c.call);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST_F(DeprecatedBindingTest, MatrixFunctionsUseTheModelViewStack) {
    engine::Director* director = engine::Director::getInstance();
    director->loadIdentityMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    ASSERT_EQ(run("kmGLPushMatrix(); kmGLTranslatef(1, 2, 3)"), "");
    engine::Mat4 moved;
    engine::Mat4::createTranslation(1, 2, 3, &moved);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelView().m[i], moved.m[i]) << i;
    ASSERT_EQ(run("kmGLPopMatrix()"), "");
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelView().m[i], engine::Mat4::IDENTITY.m[i]) << i;

    // The first sixteen numbers in element order; none is the identity.
    ASSERT_EQ(run("local t = {} for i = 1, 20 do t[i] = i end kmGLLoadMatrix(t)"), "");
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelView().m[i], static_cast<float>(i + 1)) << i;
    ASSERT_EQ(run("kmGLLoadMatrix({})"), "");
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelView().m[i], engine::Mat4::IDENTITY.m[i]) << i;
}

TEST_F(DeprecatedBindingTest, CastUnderstandsOldNames) {
    ASSERT_EQ(run("sp = cc.Sprite:create(); node = cc.Node:create()\n"
                  "asRef = CCArray:createWithObject(sp):objectAtIndex(0)"),
              "");
    runCases({
        {"old name of the object's class", "", "tolua.type(tolua.cast(asRef, 'CCSprite'))", "cc.Sprite"},
        {"the same tracked userdata", "", "tolua.cast(asRef, 'CCSprite') == sp", "true"},
        {"old name of a base class", "", "tolua.type(tolua.cast(sp, 'CCNode'))", "cc.Sprite"},
        {"object not of that class", "", "tostring(tolua.cast(node, 'CCSprite'))", "nil"},
        {"old name of no class", "", "tostring(tolua.cast(sp, 'CCNoSuchThing'))", "nil"},
        {"not an object", "", "tostring(tolua.cast(12, 'CCSprite'))", "nil"},
        {"short name through the class-name map", "", "tolua.cast(asRef, 'Sprite') == sp", "true"},
        {"short name, object not of that class", "", "tostring(tolua.cast(node, 'Sprite'))", "nil"},
        {"old names that keep their class", "", "tolua.type(tolua.cast(CCString:create('x'), 'CCString'))",
         "CCString"},
        {"full Lua name", "", "tolua.cast(node, 'cc.Node') == node", "true"},
    });
}

// The additions keyed by short class names find no class: the current ones stay.
TEST_F(DeprecatedBindingTest, ManualRegistrationsKeepTheCurrentClasses) {
    EXPECT_EQ(eval("tostring(debug.getregistry().Sequence)"), "nil");
    EXPECT_EQ(eval("tolua.type(cc.Sequence:create(cc.ScaleTo:create(1, 3), cc.ScaleTo:create(2, 1)))"), "cc.Sequence");
    EXPECT_EQ(bindings::register_deprecated_manual(nullptr), 0);
}

}  // namespace
}  // namespace bindingtest
