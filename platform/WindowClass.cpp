#include "platform/WindowClass.h"

#include <map>

#include "platform/LastError.h"
#include "platform/WindowRecord.h"

namespace platform {

namespace detail {
LRESULT buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT tooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT dialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace detail

namespace {

inline constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;

std::string foldCase(const std::string& name) {
    std::string out = name;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

struct ClassEntry {
    WNDCLASS wc;
    ATOM atom = 0;
    bool system = false;
};

std::map<std::string, ClassEntry>& classes() {
    static std::map<std::string, ClassEntry> table;
    if (table.empty()) {
        ATOM atom = 0xC000;
        auto add = [&](const char* name, WNDPROC proc) {
            WNDCLASS wc;
            wc.className = name;
            wc.proc = proc;
            wc.cursor = IDC_ARROW;
            table[foldCase(name)] = ClassEntry{wc, atom++, true};
        };
        add("BUTTON", detail::buttonProc);
        add("STATIC", detail::staticProc);
        add("tooltips_class32", detail::tooltipProc);
        add("#32770", detail::dialogWindowProc);
    }
    return table;
}

ATOM s_nextAtom = 0xC100;

}  // namespace

namespace detail {

WNDPROC classProcedure(const std::string& className) {
    auto it = classes().find(foldCase(className));
    return it == classes().end() ? nullptr : it->second.wc.proc;
}

void resetClasses() {
    auto& table = classes();
    for (auto it = table.begin(); it != table.end();) {
        it = it->second.system ? std::next(it) : table.erase(it);
    }
}

}  // namespace detail

ATOM registerClass(const WNDCLASS& wc) {
    if (wc.className.empty() || !wc.proc) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& table = classes();
    const std::string key = foldCase(wc.className);
    if (table.count(key)) {
        setLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    const ATOM atom = s_nextAtom++;
    table[key] = ClassEntry{wc, atom, false};
    return atom;
}

bool unregisterClass(const std::string& className) {
    auto& table = classes();
    auto it = table.find(foldCase(className));
    if (it == table.end() || it->second.system) {
        setLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return false;
    }
    table.erase(it);
    return true;
}

bool getClassInfo(const std::string& className, WNDCLASS* wc) {
    auto it = classes().find(foldCase(className));
    if (it == classes().end()) return false;
    if (wc) *wc = it->second.wc;
    return true;
}

}  // namespace platform
