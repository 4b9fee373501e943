#include "portal/TextInputFix.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/input/TextInputHooks.h"
#include "engine/label/TextFieldTTF.h"
#include "engine/scene/Scene.h"
#include "engine/ui/UICCTextField.h"
#include "platform/DebugOutput.h"
#include "platform/Utf16.h"
#include "portal/ClipboardLine.h"
#include "portal/ClipboardText.h"

namespace portal {
namespace {

// GLFW key codes, actions and modifier bits.
enum Key {
    kKeyA = 65,
    kKeyC = 67,
    kKeyV = 86,
    kKeyX = 88,
    kKeyEscape = 256,
    kKeyEnter = 257,
    kKeyTab = 258,
    kKeyBackspace = 259,
    kKeyInsert = 260,
    kKeyDelete = 261,
    kKeyRight = 262,
    kKeyEnd = 269,
    kKeyPadEnter = 335,
};
constexpr int kActionRelease = 0;
constexpr int kActionPress = 1;
constexpr int kModShift = 1;
constexpr int kModControl = 2;
constexpr int kModMask = 15;

constexpr engine::Color4B kHighlight{120, 200, 255, 255};
constexpr const char* kTickKey = "VEXO_TextInput_selectAll";
constexpr int kMaxDeletions = 4096;

struct Selection {
    engine::TextFieldTTF* field = nullptr;   // retained while selected
    engine::IMEDelegate* delegate = nullptr;
    unsigned int serial = 0;
    std::string content;
    engine::Color4B color;
};

Selection s_selection;

void textInputLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void textInputLog(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    platform::outputDebugString(line);
}

bool isNavigationKey(int key) {
    return key == kKeyEscape || key == kKeyEnter || key == kKeyTab || (key >= kKeyRight && key <= kKeyEnd) ||
           key == kKeyPadEnter;
}

// Shown: every node from the field up is visible until the running scene.
bool isShown(engine::Node* field) {
    engine::Scene* scene = engine::Director::getInstance()->getRunningScene();
    if (!scene) return false;
    for (engine::Node* node = field; node; node = node->getParent()) {
        if (node == scene) return true;
        if (!node->isVisible()) return false;
    }
    return false;
}

engine::TextFieldTTF* attachedField(engine::IMEDelegate** delegate, unsigned int* serial) {
    *delegate = engine::vexoImeAttachedDelegate(serial);
    return dynamic_cast<engine::TextFieldTTF*>(*delegate);
}

engine::Scheduler* scheduler() { return engine::Director::getInstance()->getScheduler(); }

// Ends the selection, if any; a null reason writes no line.
void clearSelection(const char* reason) {
    if (!s_selection.field) return;
    if (reason) textInputLog("[VEXOInput] bo chon (%s)\n", reason);
    engine::TextFieldTTF* field = s_selection.field;
    const engine::Color4B color = s_selection.color;
    s_selection = Selection{};
    scheduler()->unschedule(kTickKey, &s_selection);
    field->setTextColor(color);
    field->release();
}

void tick(float /*dt*/) {
    if (!s_selection.field) return;
    unsigned int serial = 0;
    engine::IMEDelegate* delegate = engine::vexoImeAttachedDelegate(&serial);
    if (delegate != s_selection.delegate) {
        clearSelection("tick: doi o");
    } else if (serial != s_selection.serial) {
        clearSelection("tick: bam lai o");
    } else if (!isShown(s_selection.field)) {
        clearSelection("tick: o bi an / roi man hinh");
    } else if (s_selection.field->getContentText() != s_selection.content) {
        clearSelection("tick: noi dung doi");
    }
}

void selectAll(engine::TextFieldTTF* field, engine::IMEDelegate* delegate, unsigned int serial) {
    if (s_selection.field == field) {
        s_selection.content = field->getContentText();
        return;
    }
    clearSelection("");
    if (field->getContentText().empty()) return;
    field->retain();
    s_selection.field = field;
    s_selection.delegate = delegate;
    s_selection.serial = serial;
    s_selection.content = field->getContentText();
    s_selection.color = field->getTextColor();
    field->setTextColor(kHighlight);
    if (!scheduler()->isScheduled(kTickKey, &s_selection)) {
        scheduler()->schedule(tick, &s_selection, 0.f, false, kTickKey);
    }
    const engine::Color4B& kept = s_selection.color;
    textInputLog("[VEXOInput] Ctrl+A chon het (mau goc %d,%d,%d,%d seq %u)\n", kept.r, kept.g, kept.b, kept.a,
                 serial);
}

// Deletes backward through the input method until the field is empty, stopping at
// once when a deletion does not shorten it.
void deleteAllText(engine::TextFieldTTF* field) {
    engine::IMEDispatcher* dispatcher = engine::IMEDispatcher::sharedDispatcher();
    for (int i = 0; i < kMaxDeletions && !field->getContentText().empty(); ++i) {
        const size_t before = field->getContentText().size();
        dispatcher->dispatchDeleteBackward();
        if (field->getContentText().size() >= before) break;
    }
}

void replaceAll(engine::TextFieldTTF* field) {
    deleteAllText(field);
    clearSelection("thay ca o");
}

bool hidesText(engine::TextFieldTTF* field) {
    if (field->isSecureTextEntry()) return true;
    auto* uiField = dynamic_cast<engine::ui::UICCTextField*>(field);
    return uiField && uiField->isPasswordEnabled();
}

void copyField(engine::TextFieldTTF* field, bool cut) {
    const char* verb = cut ? "cat" : "chep";
    if (hidesText(field)) {
        textInputLog("[VEXOInput] o mat khau: chan %s\n", verb);
        return;
    }
    const std::string content = field->getContentText();
    if (content.empty()) return;
    if (!setClipText(content)) return;
    if (cut) replaceAll(field);
    textInputLog("[VEXOInput] %s ca o (%u byte)\n", verb, static_cast<unsigned>(content.size()));
}

void paste(engine::TextFieldTTF* field, bool replace) {
    std::u16string clipboard;
    if (!readClipboardText(&clipboard)) return;
    const std::u16string line = cleanClipboardLine(clipboard);
    if (line.empty()) return;
    const std::string utf8 = platform::wideToUtf8(line);
    if (utf8.empty()) return;
    if (replace) replaceAll(field);
    engine::IMEDispatcher::sharedDispatcher()->dispatchInsertText(utf8.data(), utf8.size());
    textInputLog("[VEXOInput] dan %u ky tu (utf16) tu %u ky tu clipboard%s\n", static_cast<unsigned>(line.size()),
                 static_cast<unsigned>(clipboard.size()), replace ? ", thay ca o" : "");
}

}  // namespace

void installTextInputFix() { engine::vexoSetTextInputHooks(textInputKeyHook, textInputCharHook); }

bool textInputKeyHook(int key, int /*scancode*/, int action, int mods) {
    if (action == kActionRelease) return false;
    engine::IMEDelegate* delegate = nullptr;
    unsigned int serial = 0;
    engine::TextFieldTTF* field = attachedField(&delegate, &serial);
    if (!delegate || !field || !isShown(field)) {
        clearSelection("key: khong co o dang hien");
        return false;
    }
    if (s_selection.field && (s_selection.field != field || s_selection.serial != serial)) {
        clearSelection("key: doi o");
    }
    const bool selectedHere = s_selection.field == field;
    const int m = mods & kModMask;
    const bool press = action == kActionPress;

    if ((key == kKeyV && (m == kModControl || m == (kModControl | kModShift))) || (key == kKeyInsert && m == kModShift)) {
        if (press) paste(field, selectedHere);
        return true;
    }
    if ((key == kKeyDelete && m == kModShift) || (key == kKeyX && m == kModControl)) {
        if (press) copyField(field, true);
        return true;
    }
    if ((key == kKeyC || key == kKeyInsert) && m == kModControl) {
        if (press) copyField(field, false);
        return true;
    }
    if (key == kKeyA && m == kModControl) {
        if (press) selectAll(field, delegate, serial);
        return true;
    }
    if (key == kKeyBackspace || key == kKeyDelete) {
        if (!selectedHere) return false;
        replaceAll(field);
        return true;
    }
    if (selectedHere && isNavigationKey(key)) clearSelection("key: phim dieu huong");
    return false;
}

bool textInputCharHook(unsigned int /*codePoint*/) {
    if (!s_selection.field) return false;
    engine::IMEDelegate* delegate = nullptr;
    unsigned int serial = 0;
    engine::TextFieldTTF* field = attachedField(&delegate, &serial);
    if (field == s_selection.field && serial == s_selection.serial && isShown(field)) {
        textInputLog("[VEXOInput] go chu khi dang chon -> thay ca o\n");
        replaceAll(field);
    } else {
        clearSelection("char: doi o / o an");
    }
    return false;
}

void resetTextInputFixForTesting() { clearSelection(nullptr); }

}  // namespace portal
