// FileUtils' handling of names: search paths, look-ups, the absolute test, the
// writable path, and making and removing folders, with any bytes as names.
//
// Input: one byte of options, then up to three names separated by 0x1f bytes. The
// look-ups run against a small fixed tree; folders are made and removed only inside
// it ("root", holding a link "lnk" to the sibling folder "outside"), with names that
// neither climb out ("..") nor pass through the link, so the invariants can say that
// nothing outside is ever touched.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/base/Log.h"
#include "fuzz/FuzzSupport.h"
#include "engine/files/FileUtils.h"

namespace fs = std::filesystem;

using fuzzsupport::check;

namespace {

bool hasZero(const std::string& s) { return s.find('\0') != std::string::npos; }

struct Sandbox {
    std::string base, root, outside;

    Sandbox() {
        base = fuzzsupport::makeScratchFolder("vexo-fuzz-names");
        root = base + "/root";
        outside = base + "/outside";
        fs::create_directories(outside);
        std::ofstream(outside + "/keep") << "keep";
        rebuild();
    }
    ~Sandbox() { fs::remove_all(base); }

    void rebuild() const {
        fs::remove_all(root);
        fs::create_directories(root + "/dir");
        std::ofstream(root + "/f.txt") << "f";
        std::ofstream(root + "/dir/g.txt") << "g";
        fs::create_directory_symlink(outside, root + "/lnk");
    }

    bool outsideIntact() const {
        std::ifstream in(outside + "/keep");
        std::string text;
        in >> text;
        size_t count = 0;
        for (const auto& e : fs::directory_iterator(outside)) {
            (void)e;
            ++count;
        }
        return text == "keep" && count == 1;
    }
};

// True when the name, taken below root, stays there and meets the link, if at all,
// only as its last part.
bool staysInside(const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        std::string part = name.substr(start, end - start);
        if (!part.empty() && part != ".") parts.push_back(part);
        start = end + 1;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] == "..") return false;
        if (parts[i] == "lnk" && i + 1 < parts.size()) return false;
    }
    return true;
}

void checkSearchPaths(engine::FileUtils* fu, const std::string& root) {
    for (const std::string& p : fu->getSearchPaths()) {
        check(!p.empty() && p.back() == '/', "search path ends with /");
        check(!hasZero(p), "search path without zero byte");
        check(p[0] == '/' || root.empty(), "search path resolved");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Sandbox sandbox;
    if (size == 0) return 0;

    const uint8_t options = data[0];
    std::vector<std::string> names;
    std::string current;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0x1f && names.size() < 2) {
            names.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    names.push_back(current);
    while (names.size() < 3) names.emplace_back();

    engine::FileUtils* fu = engine::FileUtils::getInstance();
    fu->setDefaultResourceRootPath(sandbox.root);
    fu->setSearchPaths({names[0], names[1]});
    size_t accepted = !hasZero(names[0]) + !hasZero(names[1]);
    check(fu->getSearchPaths().size() == accepted, "only names without zero bytes are kept");
    fu->addSearchPath(names[2], options & 1);
    accepted += !hasZero(names[2]);
    check(fu->getSearchPaths().size() == accepted, "added search path");
    checkSearchPaths(fu, sandbox.root);

    for (const std::string& name : names) {
        const bool zero = hasZero(name);
        check(fu->isAbsolutePath(name) == (!name.empty() && name[0] == '/' && !zero),
              "absolute test");
        const std::string full = fu->fullPathForFilename(name);
        check(!zero || full.empty(), "zero byte never found");
        check(!hasZero(full), "full path without zero byte");
        struct stat st {};
        const bool found = !full.empty() && ::stat(full.c_str(), &st) == 0;
        check(full.empty() || found, "found names exist");
        if (!zero && !name.empty() && name[0] == '/') check(full.empty() || full == name, "absolute kept");
        check(fu->isFileExist(name) == (found && S_ISREG(st.st_mode)), "file test agrees");
        if (zero) check(!fu->isDirectoryExist(name), "zero byte never a folder");
    }

    fu->setWritablePath("/w");
    fu->setWritablePath(names[0]);
    const std::string writable = fu->getWritablePath();
    check(!writable.empty() && writable.back() == '/' && !hasZero(writable), "writable path");
    if (hasZero(names[0])) check(writable == "/w/", "refused writable path kept the old one");

    // Making and removing folders inside the sandbox.
    if (options & 2) {
        const std::string name = sandbox.root + "/" + names[1];
        if (staysInside(names[1])) {
            if (options & 4) {
                fu->createDirectory(name);
            } else {
                fu->removeDirectory(name);
            }
            check(sandbox.outsideIntact(), "nothing outside touched");
            if (hasZero(names[1])) {
                std::error_code ec;
                check(fs::exists(sandbox.root + "/f.txt", ec), "refused name removed nothing");
            }
            sandbox.rebuild();
        }
    }
    return 0;
}
