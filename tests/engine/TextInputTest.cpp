#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/input/TextInputHooks.h"
#include "engine/label/TextFieldTTF.h"

using namespace engine;

namespace {

class TextInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = GLViewImpl::createWithRect("t", Rect(0, 0, 100, 100));
        Director::getInstance()->setOpenGLView(view);
        field = TextFieldTTF::create();
        field->retain();
    }
    void TearDown() override {
        vexoSetTextInputHooks(nullptr, nullptr);
        field->release();
        Director::destroyInstance();
        platform::resetWindowModel();
    }

    GLView* view = nullptr;
    TextFieldTTF* field = nullptr;
};

TEST_F(TextInputTest, EveryAttachmentGetsANewSerial) {
    IMEDispatcher* ime = IMEDispatcher::sharedDispatcher();
    auto* second = TextFieldTTF::create();
    unsigned int s1 = 0, s2 = 0, s3 = 0, none = 99;
    ASSERT_TRUE(field->attachWithIME());
    EXPECT_EQ(vexoImeAttachedDelegate(&s1), field);
    ASSERT_TRUE(field->attachWithIME());   // a new click into the same field
    EXPECT_EQ(vexoImeAttachedDelegate(&s2), field);
    ASSERT_TRUE(second->attachWithIME());
    EXPECT_EQ(vexoImeAttachedDelegate(&s3), second);
    EXPECT_NE(s1, 0u);
    EXPECT_LT(s1, s2);
    EXPECT_LT(s2, s3);
    EXPECT_FALSE(field->detachWithIME()) << "not attached";
    EXPECT_TRUE(second->detachWithIME());
    EXPECT_EQ(vexoImeAttachedDelegate(&none), nullptr);
    EXPECT_EQ(none, 0u);
    EXPECT_FALSE(ime->attachDelegateWithIME(nullptr));
}

TEST_F(TextInputTest, AFieldGoingAwayDetachesItself) {
    auto* temporary = TextFieldTTF::create();
    temporary->retain();
    temporary->attachWithIME();
    temporary->release();
    Director::getInstance()->mainLoop(0.f);   // drains the pool: the field is gone
    EXPECT_EQ(vexoImeAttachedDelegate(nullptr), nullptr);
    IMEDispatcher::sharedDispatcher()->dispatchDeleteBackward();   // nothing attached: nothing happens
}

TEST_F(TextInputTest, DeletionRemovesOneCodePoint) {
    struct Case {
        const char* content;
        const char* after;
    };
    const Case cases[] = {
        {"ab", "a"}, {"aộ", "a"}, {"a\xF0\x9F\x98\x80", "a"}, {"é", ""}, {"", ""}, {"\x80\x80", ""},
    };
    for (const Case& c : cases) {
        field->setString(c.content);
        field->deleteBackward();
        EXPECT_EQ(field->getString(), c.after) << c.content;
    }
}

// What the hooks saw, and what they answer.
std::vector<std::string> hookCalls;
bool takeKeys = false;
bool takeChars = false;

bool keyHook(int key, int scancode, int action, int mods) {
    hookCalls.push_back("key " + std::to_string(key) + " " + std::to_string(scancode) + " " + std::to_string(action) +
                        " " + std::to_string(mods));
    return takeKeys;
}
bool charHook(unsigned int cp) {
    hookCalls.push_back("char " + std::to_string(cp));
    return takeChars;
}

TEST_F(TextInputTest, ViewInputPassesTheHooksFirst) {
    field->setString("ab");
    field->attachWithIME();
    hookCalls.clear();
    takeKeys = takeChars = false;

    view->onCharInput(0x1ED9);   // ộ
    view->onKeyInput(259, 22, 1, 0);   // Backspace press
    view->onKeyInput(259, 22, 2, 0);   // repeat
    view->onKeyInput(259, 22, 0, 0);   // release: nothing
    EXPECT_EQ(field->getString(), "a");   // ộ inserted, then two code points deleted
    EXPECT_EQ(hookCalls.size(), 0u) << "no hooks installed yet";

    vexoSetTextInputHooks(keyHook, charHook);
    view->onCharInput('c');
    view->onKeyInput(259, 22, 1, 2);
    EXPECT_EQ(field->getString(), "a");
    EXPECT_EQ(hookCalls, (std::vector<std::string>{"char 99", "key 259 22 1 2"}));

    takeKeys = takeChars = true;
    view->onCharInput('d');
    view->onKeyInput(259, 22, 1, 0);
    EXPECT_EQ(field->getString(), "a") << "taken by the hooks";
}

}  // namespace
