#include <functional>
#include <string>
#include <vector>

#include "PortalWindowFixture.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/input/TextInputHooks.h"
#include "engine/label/TextFieldTTF.h"
#include "engine/scene/Scene.h"
#include "engine/ui/UICCTextField.h"
#include "platform/Clipboard.h"
#include "platform/Utf16.h"
#include "portal/ClipboardText.h"
#include "portal/TextInputFix.h"

using portaltest::PortalWindowFixture;

namespace {

// GLFW numbering.
constexpr int A = 65, C = 67, V = 86, X = 88, ESC = 256, ENTER = 257, TAB = 258, BACKSPACE = 259, INSERT = 260,
              DEL = 261, RIGHT = 262, LEFT = 263, DOWN = 264, UP = 265, PGUP = 266, PGDN = 267, HOME = 268, END = 269,
              KP_ENTER = 335;
constexpr int RELEASE = 0, PRESS = 1, REPEAT = 2;
constexpr int SHIFT = 1, CTRL = 2, ALT = 4;

constexpr engine::Color4B kPlain{10, 20, 30, 255};
constexpr engine::Color4B kHighlight{120, 200, 255, 255};

class TextInputFixTest : public PortalWindowFixture {
protected:
    void SetUp() override {
        PortalWindowFixture::SetUp();
        makeGameWindow();
        portal::installTextInputFix();
        freshFields();
    }
    void TearDown() override {
        engine::vexoSetTextInputHooks(nullptr, nullptr);
        PortalWindowFixture::TearDown();
    }

    // A new running scene holding a box with two fields, "hello" (attached) and
    // "other"; no selection, an empty clipboard, no log lines.
    void freshFields() {
        portal::resetTextInputFixForTesting();
        scene = engine::Scene::create();
        engine::Director::getInstance()->runWithScene(scene);
        frame();
        box = engine::Node::create();
        scene->addChild(box);
        field = addField(engine::TextFieldTTF::create(), "hello");
        other = addField(engine::TextFieldTTF::create(), "other");
        field->attachWithIME();
        platform::resetClipboardModel();
        debugLines.clear();
    }

    engine::TextFieldTTF* addField(engine::TextFieldTTF* f, const std::string& text) {
        f->setString(text);
        f->setTextColor(kPlain);
        box->addChild(f);
        return f;
    }

    static void frame() { engine::Director::getInstance()->mainLoop(1.f / 60); }
    static engine::GLView* view() { return engine::Director::getInstance()->getOpenGLView(); }

    // A key through the view, as the window system delivers it; whether the hook took it.
    static bool key(int k, int action = PRESS, int mods = 0) {
        const bool handled = portal::textInputKeyHook(k, 0, action, mods);
        engine::vexoSetTextInputHooks(nullptr, nullptr);   // the engine's own handling only
        if (!handled) view()->onKeyInput(k, 0, action, mods);
        portal::installTextInputFix();
        return handled;
    }
    static void type(const std::string& utf8) {
        for (char32_t cp : platform::utf8ToWide(utf8)) view()->onCharInput(static_cast<unsigned>(cp));
    }
    static std::string clipboard() {
        std::string text;
        portal::getClipText(&text);
        return text;
    }
    static void putClipboard(const std::u16string& text) {
        platform::putClipboardBlockForTesting(platform::CF_UNICODETEXT, text.c_str(), (text.size() + 1) * 2);
    }
    bool logged(const std::string& line) const {
        for (const std::string& l : debugLines) {
            if (l == line) return true;
        }
        return false;
    }
public:   // the cases' lambdas reach them
    engine::Scene* scene = nullptr;
    engine::Node* box = nullptr;
    engine::TextFieldTTF* field = nullptr;
    engine::TextFieldTTF* other = nullptr;
};

TEST_F(TextInputFixTest, InstallHandsBothHooksToTheEngine) {
    ASSERT_TRUE(key(A, PRESS, CTRL));
    EXPECT_EQ(field->getTextColor(), kHighlight);
    view()->onCharInput('x');   // through the installed char hook, then inserted
    EXPECT_EQ(field->getString(), "x");
}

TEST_F(TextInputFixTest, SelectAllOnAnEmptyFieldSelectsNothingButIsHandled) {
    field->setString("");
    EXPECT_TRUE(key(A, PRESS, CTRL));
    EXPECT_EQ(field->getTextColor(), kPlain);
    EXPECT_TRUE(debugLines.empty());
}

TEST_F(TextInputFixTest, SelectAllHighlightsAndLogsTheKeptColour) {
    unsigned int serial = 0;
    engine::IMEDispatcher::sharedDispatcher()->getAttachedDelegate(&serial);
    EXPECT_TRUE(key(A, PRESS, CTRL));
    EXPECT_EQ(field->getTextColor(), kHighlight);
    EXPECT_TRUE(logged("[VEXOInput] Ctrl+A chon het (mau goc 10,20,30,255 seq " + std::to_string(serial) + ")\n"));
}

TEST_F(TextInputFixTest, EverySelectionEndRestoresTheColourWithItsReason) {
    struct Case {
        const char* name;
        std::function<bool(TextInputFixTest&)> end;   // answers whether a key was handled
        const char* reason;
        bool handled;
        const char* content;
    };
    auto navigation = [](int k) { return [k](TextInputFixTest&) { return key(k); }; };
    const Case cases[] = {
        {"typing", [](TextInputFixTest&) { type("x"); return false; }, "thay ca o", false, "x"},
        {"backspace", [](TextInputFixTest&) { return key(BACKSPACE); }, "thay ca o", true, ""},
        {"delete", [](TextInputFixTest&) { return key(DEL); }, "thay ca o", true, ""},
        {"shift+backspace", [](TextInputFixTest&) { return key(BACKSPACE, PRESS, SHIFT); }, "thay ca o", true, ""},
        {"escape", navigation(ESC), "key: phim dieu huong", false, "hello"},
        {"enter", navigation(ENTER), "key: phim dieu huong", false, "hello"},
        {"tab", navigation(TAB), "key: phim dieu huong", false, "hello"},
        {"right", navigation(RIGHT), "key: phim dieu huong", false, "hello"},
        {"left", navigation(LEFT), "key: phim dieu huong", false, "hello"},
        {"down", navigation(DOWN), "key: phim dieu huong", false, "hello"},
        {"up", navigation(UP), "key: phim dieu huong", false, "hello"},
        {"page up", navigation(PGUP), "key: phim dieu huong", false, "hello"},
        {"page down", navigation(PGDN), "key: phim dieu huong", false, "hello"},
        {"home", navigation(HOME), "key: phim dieu huong", false, "hello"},
        {"end", navigation(END), "key: phim dieu huong", false, "hello"},
        {"keypad enter", navigation(KP_ENTER), "key: phim dieu huong", false, "hello"},
        {"key after detaching",
         [](TextInputFixTest& t) { t.field->detachWithIME(); return key('Q'); }, "key: khong co o dang hien", false,
         "hello"},
        {"key on a hidden field",
         [](TextInputFixTest& t) { t.field->setVisible(false); return key('Q'); }, "key: khong co o dang hien", false,
         "hello"},
        {"key in another field",
         [](TextInputFixTest& t) { t.other->attachWithIME(); return key('Q'); }, "key: doi o", false, "hello"},
        {"key after a new click",
         [](TextInputFixTest& t) { t.field->attachWithIME(); return key('Q'); }, "key: doi o", false, "hello"},
        {"typing in another field",
         [](TextInputFixTest& t) { t.other->attachWithIME(); type("z"); return false; }, "char: doi o / o an", false,
         "hello"},
        {"typing into a hidden field",
         [](TextInputFixTest& t) { t.field->setVisible(false); type("z"); return false; }, "char: doi o / o an", false,
         "helloz"},
        {"tick, another field", [](TextInputFixTest& t) { t.other->attachWithIME(); frame(); return false; },
         "tick: doi o", false, "hello"},
        {"tick, nothing attached", [](TextInputFixTest& t) { t.field->detachWithIME(); frame(); return false; },
         "tick: doi o", false, "hello"},
        {"tick, a new click", [](TextInputFixTest& t) { t.field->attachWithIME(); frame(); return false; },
         "tick: bam lai o", false, "hello"},
        {"tick, hidden parent", [](TextInputFixTest& t) { t.box->setVisible(false); frame(); return false; },
         "tick: o bi an / roi man hinh", false, "hello"},
        {"tick, off the scene", [](TextInputFixTest& t) { t.box->removeFromParent(); frame(); return false; },
         "tick: o bi an / roi man hinh", false, "hello"},
        {"tick, content changed", [](TextInputFixTest& t) { t.field->setString("changed"); frame(); return false; },
         "tick: noi dung doi", false, "changed"},
    };
    for (const Case& c : cases) {
        freshFields();
        ASSERT_TRUE(key(A, PRESS, CTRL)) << c.name;
        debugLines.clear();
        field->retain();   // kept for the checks even when a case takes it off the scene
        EXPECT_EQ(c.end(*this), c.handled) << c.name;
        EXPECT_EQ(field->getTextColor(), kPlain) << c.name;
        EXPECT_TRUE(logged(std::string("[VEXOInput] bo chon (") + c.reason + ")\n")) << c.name;
        EXPECT_EQ(field->getString(), c.content) << c.name;
        field->release();
    }
}

TEST_F(TextInputFixTest, TheTickLeavesAnUnchangedSelectionAlone) {
    key(A, PRESS, CTRL);
    frame();
    frame();
    EXPECT_EQ(field->getTextColor(), kHighlight);
    // Ctrl+A again on the selected field only refreshes the kept content.
    field->setString("hello!");
    key(A, PRESS, CTRL);
    frame();
    EXPECT_EQ(field->getTextColor(), kHighlight);
}

TEST_F(TextInputFixTest, ClipboardKeysByEveryFormActOnPressOnly) {
    struct Case {
        const char* name;
        int k;
        int mods;
        const char* op;   // "copy", "cut", "paste"
    };
    const Case cases[] = {
        {"ctrl+c", C, CTRL, "copy"},       {"ctrl+insert", INSERT, CTRL, "copy"}, {"ctrl+x", X, CTRL, "cut"},
        {"shift+delete", DEL, SHIFT, "cut"}, {"ctrl+v", V, CTRL, "paste"},      {"ctrl+shift+v", V, CTRL | SHIFT, "paste"},
        {"shift+insert", INSERT, SHIFT, "paste"},
    };
    for (const Case& c : cases) {
        for (int action : {RELEASE, REPEAT, PRESS}) {
            freshFields();
            putClipboard(u"pasted");
            const bool handled = key(c.k, action, c.mods);
            const std::string op = c.op;
            const bool acts = action == PRESS;
            EXPECT_EQ(handled, action != RELEASE) << c.name << " action " << action;
            std::string content = "hello";
            std::string clip = "pasted";
            if (acts && op == "copy") clip = "hello";
            if (acts && op == "cut") clip = "hello", content = "";
            if (acts && op == "paste") content = "hellopasted";
            EXPECT_EQ(field->getString(), content) << c.name << " action " << action;
            EXPECT_EQ(clipboard(), clip) << c.name << " action " << action;
        }
    }
}

TEST_F(TextInputFixTest, OtherModifiersLeaveClipboardKeysToTheEngine) {
    putClipboard(u"pasted");
    for (auto [k, mods] : std::vector<std::pair<int, int>>{{C, CTRL | ALT}, {V, CTRL | ALT}, {V, SHIFT}, {INSERT, 0},
                                                           {X, CTRL | SHIFT}, {A, CTRL | SHIFT}, {C, 0}}) {
        EXPECT_FALSE(key(k, PRESS, mods)) << k << " " << mods;
    }
    // Lock bits above the four modifiers do not count.
    EXPECT_TRUE(key(C, PRESS, CTRL | 16 | 32));
    EXPECT_EQ(clipboard(), "hello");
    EXPECT_EQ(field->getString(), "hello");
}

TEST_F(TextInputFixTest, CopyAndCutLogTheirByteCountAndCopyKeepsTheSelection) {
    field->setString("Mộc");   // 5 bytes
    key(A, PRESS, CTRL);
    key(C, PRESS, CTRL);
    EXPECT_TRUE(logged("[VEXOInput] chep ca o (5 byte)\n"));
    EXPECT_EQ(field->getTextColor(), kHighlight);
    key(X, PRESS, CTRL);
    EXPECT_TRUE(logged("[VEXOInput] cat ca o (5 byte)\n"));
    EXPECT_TRUE(logged("[VEXOInput] bo chon (thay ca o)\n"));
    EXPECT_EQ(field->getString(), "");
    EXPECT_EQ(field->getTextColor(), kPlain);
    // An empty field copies nothing.
    debugLines.clear();
    key(C, PRESS, CTRL);
    EXPECT_TRUE(debugLines.empty());
    EXPECT_EQ(clipboard(), "Mộc");
}

TEST_F(TextInputFixTest, PasswordFieldsAreNeverCopiedOrCut) {
    auto* secure = addField(engine::TextFieldTTF::create(), "secret");
    secure->setSecureTextEntry(true);
    auto* password = engine::ui::UICCTextField::create();
    password->setPasswordEnabled(true);
    addField(password, "secret");
    for (engine::TextFieldTTF* f : {secure, static_cast<engine::TextFieldTTF*>(password)}) {
        f->attachWithIME();
        putClipboard(u"pasted");
        debugLines.clear();
        EXPECT_TRUE(key(C, PRESS, CTRL));
        EXPECT_TRUE(key(X, PRESS, CTRL));
        EXPECT_EQ(debugLines, (std::vector<std::string>{"[VEXOInput] o mat khau: chan chep\n",
                                                        "[VEXOInput] o mat khau: chan cat\n"}));
        EXPECT_EQ(f->getString(), "secret");
        EXPECT_EQ(clipboard(), "pasted");
        // Pasting into them works.
        EXPECT_TRUE(key(V, PRESS, CTRL));
        EXPECT_EQ(f->getString(), "secretpasted");
    }
    // A text field of the UI module without the password flag copies as usual.
    auto* plain = engine::ui::UICCTextField::create();
    addField(plain, "open");
    plain->attachWithIME();
    key(C, PRESS, CTRL);
    EXPECT_EQ(clipboard(), "open");
}

TEST_F(TextInputFixTest, PasteTakesTheFirstCleanLineAndReplacesASelection) {
    putClipboard(u"  first line\r\nsecond");
    key(V, PRESS, CTRL);
    EXPECT_EQ(field->getString(), "hellofirst line");
    EXPECT_TRUE(logged("[VEXOInput] dan 10 ky tu (utf16) tu 20 ky tu clipboard\n"));

    key(A, PRESS, CTRL);
    putClipboard(std::u16string(300, u'y'));
    key(INSERT, PRESS, SHIFT);
    EXPECT_EQ(field->getString(), std::string(256, 'y'));
    EXPECT_TRUE(logged("[VEXOInput] dan 256 ky tu (utf16) tu 300 ky tu clipboard, thay ca o\n"));
    EXPECT_EQ(field->getTextColor(), kPlain);
}

TEST_F(TextInputFixTest, NothingToPasteLeavesFieldAndSelection) {
    key(A, PRESS, CTRL);
    struct Case {
        const char* name;
        std::function<void()> prepare;
    };
    const Case cases[] = {
        {"no text", [] { platform::resetClipboardModel(); }},
        {"only blank lines", [] { putClipboard(u" \r\n\t\u200B"); }},
        {"clipboard busy", [] { putClipboard(u"x"); platform::setClipboardBusyForTesting(5); }},
    };
    for (const Case& c : cases) {
        c.prepare();
        EXPECT_TRUE(key(V, PRESS, CTRL)) << c.name;
        EXPECT_EQ(field->getString(), "hello") << c.name;
        EXPECT_EQ(field->getTextColor(), kHighlight) << c.name;
        platform::setClipboardBusyForTesting(0);
    }
}

TEST_F(TextInputFixTest, BackspaceAndDeleteWithoutSelectionGoToTheEngine) {
    EXPECT_FALSE(key(BACKSPACE));
    EXPECT_EQ(field->getString(), "hell");
    EXPECT_FALSE(key(DEL));
    EXPECT_FALSE(key(BACKSPACE, RELEASE));
    EXPECT_EQ(field->getString(), "hell");
}

// A field that ignores deletions stops the clearing loop at once.
class StubbornField : public engine::TextFieldTTF {
public:
    static StubbornField* create() {
        auto* f = new StubbornField;
        f->autorelease();
        return f;
    }
    void deleteBackward() override { ++deletions; }
    int deletions = 0;
};

TEST_F(TextInputFixTest, AFieldThatIgnoresDeletionsIsTriedOnce) {
    auto* stubborn = StubbornField::create();
    addField(stubborn, "stay");
    stubborn->attachWithIME();
    key(A, PRESS, CTRL);
    EXPECT_TRUE(key(BACKSPACE));
    EXPECT_EQ(stubborn->deletions, 1);
    EXPECT_EQ(stubborn->getString(), "stay");
    EXPECT_EQ(stubborn->getTextColor(), kPlain);
}

}  // namespace
