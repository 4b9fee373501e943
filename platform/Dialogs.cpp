#include "platform/Dialogs.h"

#include <chrono>
#include <cstdlib>
#include <deque>
#include <thread>

#include "platform/ChildProcess.h"
#include "platform/DebugOutput.h"

namespace platform {

namespace {

struct Model {
    std::deque<DialogAnswer> answers;
    std::vector<DialogRequest> requests;
    DWORD lastError = 0;
};

Model& model() {
    static Model m;
    return m;
}

bool takeQueued(DialogAnswer* answer) {
    if (model().answers.empty()) return false;
    *answer = model().answers.front();
    model().answers.pop_front();
    return true;
}

bool zenityWanted() {
    const char* v = std::getenv("VEXO_DIALOGS");
    return v && std::string(v) == "zenity";
}

struct ZenityResult {
    bool ran = false;
    int exitCode = -1;
    std::string output;
};

// Runs zenity with `args` and waits for its answer. The answer is its standard
// output; what it writes to standard error (toolkit warnings) goes to the debug
// output.
ZenityResult runZenity(const std::vector<std::string>& args) {
    ZenityResult result;
    ChildProcess child;
    if (!child.start("zenity", args, ChildProcess::ErrorStream::Separate)) {
        outputDebugString("[VEXO] dialogs: zenity cannot be started, the dialog is dismissed\n");
        return result;
    }
    result.ran = true;
    std::string errors;
    char buffer[4096];
    auto drain = [&] {
        ssize_t n;
        while ((n = child.readOutput(buffer, sizeof buffer)) > 0) result.output.append(buffer, static_cast<size_t>(n));
        while ((n = child.readError(buffer, sizeof buffer)) > 0) errors.append(buffer, static_cast<size_t>(n));
    };
    for (;;) {
        drain();
        if (child.pollExit(&result.exitCode)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    drain();
    while (!result.output.empty() && result.output.back() == '\n') result.output.pop_back();
    while (!errors.empty() && errors.back() == '\n') errors.pop_back();
    if (!errors.empty()) outputDebugString("[VEXO] dialogs: zenity: " + errors + "\n");
    return result;
}

int dismissedAnswer(UINT type) {
    switch (type & 0xF) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

int zenityMessageBox(const std::string& text, const std::string& caption, UINT type, bool* shown) {
    std::vector<std::string> args;
    const UINT buttons = type & 0xF;
    if (buttons == MB_OK) {
        args = {"--info"};
    } else if (buttons == MB_OKCANCEL) {
        args = {"--question", "--ok-label=OK", "--cancel-label=Cancel"};
    } else {
        args = {"--question", "--ok-label=Yes", "--cancel-label=No"};
        if (buttons == MB_YESNOCANCEL) args.push_back("--extra-button=Cancel");
    }
    args.push_back("--title=" + caption);
    args.push_back("--text=" + text);
    args.push_back("--no-markup");
    const ZenityResult r = runZenity(args);
    *shown = r.ran;
    if (!r.ran) return dismissedAnswer(type);
    if (buttons == MB_OK) return IDOK;
    if (r.exitCode == 0) return buttons == MB_OKCANCEL ? IDOK : IDYES;
    if (buttons == MB_YESNOCANCEL && r.output == "Cancel") return IDCANCEL;
    if (r.exitCode == 1) return buttons == MB_OKCANCEL ? IDCANCEL : IDNO;
    return dismissedAnswer(type);   // closed or timed out
}

// "--file-filter=Display | p1 p2" for every pair of a Win32 filter list.
void appendZenityFilters(const std::string& filter, std::vector<std::string>& args) {
    const std::vector<std::string> items = splitZeroList(filter);
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        std::string patterns = items[i + 1];
        for (char& c : patterns) {
            if (c == ';') c = ' ';
        }
        args.push_back("--file-filter=" + items[i] + " | " + patterns);
    }
}

// zenity's newline-separated paths in the Win32 buffer form: the folder the paths
// share, then each path from there (names holding "/" when the files come from
// several folders), so that joining the two gives every path back as zenity gave it.
std::string toBuffer(const std::string& output, bool multiple) {
    if (!multiple || output.find('\n') == std::string::npos) return output;
    std::vector<std::string> paths;
    size_t pos = 0;
    while (pos <= output.size()) {
        const size_t end = output.find('\n', pos);
        std::string path = output.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!path.empty()) paths.push_back(std::move(path));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    // The longest run of whole folders that every path starts with ("/a/" of
    // "/a/b/x" and "/a/c/y").
    const std::string& first = paths.front();
    size_t common = first.size();
    for (const std::string& p : paths) {
        size_t same = 0;
        while (same < common && same < p.size() && p[same] == first[same]) ++same;
        common = same;
    }
    const size_t slash = common == 0 ? std::string::npos : first.rfind('/', common - 1);
    const size_t shared = slash == std::string::npos ? 0 : slash + 1;
    std::string folder = shared == 0 ? "." : shared == 1 ? "/" : paths.front().substr(0, shared - 1);
    std::string buffer = folder;
    buffer += '\0';
    for (const std::string& p : paths) {
        buffer += p.substr(shared);
        buffer += '\0';
    }
    buffer += '\0';
    return buffer;
}

bool fileDialog(DialogKind kind, OpenFileName& ofn) {
    DialogRequest request{kind, ofn.owner, ofn.title, "", ofn.flags, ofn.filter, ofn.initialDir, ofn.file};
    model().requests.push_back(request);
    model().lastError = 0;
    DialogAnswer answer;
    if (!takeQueued(&answer)) {
        answer = DialogAnswer{IDCANCEL, false, "", 0};
        bool shown = false;
        if (zenityWanted()) {
            std::vector<std::string> args{"--file-selection", "--title=" + ofn.title};
            const bool multiple = (ofn.flags & OFN_ALLOWMULTISELECT) != 0;
            if (kind == DialogKind::SaveFile) {
                args.push_back("--save");
                if (!ofn.file.empty()) args.push_back("--filename=" + ofn.file);
            } else if (!ofn.initialDir.empty()) {
                args.push_back("--filename=" + ofn.initialDir + (ofn.initialDir.back() == '/' ? "" : "/"));
            }
            if (multiple) {
                args.push_back("--multiple");
                args.push_back("--separator=\n");
            }
            appendZenityFilters(ofn.filter, args);
            const ZenityResult r = runZenity(args);
            shown = r.ran;
            if (r.ran && r.exitCode == 0 && !r.output.empty()) answer = {IDOK, true, toBuffer(r.output, multiple), 0};
        }
        if (!shown) outputDebugString("[VEXO] dialog \"" + ofn.title + "\" dismissed\n");
    }
    if (!answer.accepted) {
        model().lastError = answer.error;
        return false;
    }
    ofn.file = answer.buffer;
    return true;
}

}  // namespace

std::vector<std::string> splitZeroList(const std::string& list) {
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos < list.size()) {
        const size_t end = list.find('\0', pos);
        std::string item = list.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (item.empty()) break;
        items.push_back(std::move(item));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return items;
}

int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    model().requests.push_back(DialogRequest{DialogKind::MessageBox, owner, caption, text, type, "", "", ""});
    DialogAnswer answer;
    if (takeQueued(&answer)) return answer.button;
    bool shown = false;
    int button = dismissedAnswer(type);
    if (zenityWanted()) button = zenityMessageBox(text, caption, type, &shown);
    if (!shown) outputDebugString("[VEXO] " + caption + ": " + text + "\n");
    return button;
}

bool getOpenFileName(OpenFileName& ofn) { return fileDialog(DialogKind::OpenFile, ofn); }
bool getSaveFileName(OpenFileName& ofn) { return fileDialog(DialogKind::SaveFile, ofn); }
DWORD commDlgExtendedError() { return model().lastError; }

std::string browseForFolder(const BrowseInfo& info) {
    model().requests.push_back(
        DialogRequest{DialogKind::Folder, info.owner, info.title, "", info.flags, "", info.initialFolder, ""});
    DialogAnswer answer;
    if (takeQueued(&answer)) return answer.accepted ? answer.buffer : std::string();
    if (zenityWanted()) {
        std::vector<std::string> args{"--file-selection", "--directory", "--title=" + info.title};
        if (!info.initialFolder.empty()) {
            args.push_back("--filename=" + info.initialFolder + (info.initialFolder.back() == '/' ? "" : "/"));
        }
        const ZenityResult r = runZenity(args);
        if (r.ran) return r.exitCode == 0 ? r.output : std::string();
    }
    outputDebugString("[VEXO] dialog \"" + info.title + "\" dismissed\n");
    return {};
}

void queueDialogAnswer(const DialogAnswer& answer) { model().answers.push_back(answer); }
std::vector<DialogRequest> dialogRequests() { return model().requests; }

void resetDialogModel() {
    model().answers.clear();
    model().requests.clear();
    model().lastError = 0;
}

}  // namespace platform
