#include "engine/files/FileUtils.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "support/TestSupport.h"

using engine::Data;
using engine::FileUtils;
using testsupport::LogCapture;
using testsupport::TempDir;

namespace {

const char* kMissingLine = "fullPathForFilename: No file found at ";

class FileUtilsTest : public ::testing::Test {
protected:
    void TearDown() override { FileUtils::destroyInstance(); }
    FileUtils* fu() { return FileUtils::getInstance(); }
    TempDir tmp;
};

bool isDir(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Sets (or, with nullopt, unsets) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : _name(name) {
        if (const char* old = std::getenv(name)) _old = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (_old) {
            ::setenv(_name, _old->c_str(), 1);
        } else {
            ::unsetenv(_name);
        }
    }

private:
    const char* _name;
    std::optional<std::string> _old;
};

unsigned char* mallocCopy(const std::string& s) {
    auto* p = static_cast<unsigned char*>(std::malloc(s.size()));
    std::memcpy(p, s.data(), s.size());
    return p;
}

std::string str(const Data& d) {
    return std::string(reinterpret_cast<const char*>(d.getBytes()), static_cast<size_t>(d.getSize()));
}

}  // namespace

TEST_F(FileUtilsTest, SearchPathsAreStoredResolvedWithTrailingSlash) {
    struct Case {
        std::string root, input, stored;
    };
    const std::vector<Case> cases = {
        {"/res", "a", "/res/a/"},
        {"/res/", "a/b/", "/res/a/b/"},
        {"/res", "/abs", "/abs/"},
        {"/res", "/abs/", "/abs/"},
        {"/res", "", "/res/"},
        {"", "rel", "rel/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root + " | " + c.input);
        fu()->setDefaultResourceRootPath(c.root);
        fu()->setSearchPaths({c.input});
        EXPECT_EQ(fu()->getSearchPaths(), std::vector<std::string>{c.stored});
        fu()->setSearchPaths({});
        fu()->addSearchPath(c.input);
        EXPECT_EQ(fu()->getSearchPaths(), std::vector<std::string>{c.stored});
    }
    fu()->setDefaultResourceRootPath("/res");
    EXPECT_EQ(fu()->getDefaultResourceRootPath(), "/res/");
    fu()->setDefaultResourceRootPath("");
    EXPECT_EQ(fu()->getDefaultResourceRootPath(), "");
}

TEST_F(FileUtilsTest, SearchPathOrderDuplicatesAndRoundTrip) {
    fu()->setDefaultResourceRootPath("/res");
    fu()->setSearchPaths({"a", "/b", "a"});
    fu()->addSearchPath("front", true);
    fu()->addSearchPath("/back");
    const std::vector<std::string> expected = {"/res/front/", "/res/a/", "/b/", "/res/a/", "/back/"};
    EXPECT_EQ(fu()->getSearchPaths(), expected);

    // Read, insert, write back: the existing entries stay exactly as they were,
    // even after the root has moved.
    fu()->setDefaultResourceRootPath("/elsewhere");
    std::vector<std::string> paths = fu()->getSearchPaths();
    paths.insert(paths.begin(), "/first");
    fu()->setSearchPaths(paths);
    std::vector<std::string> withFirst = expected;
    withFirst.insert(withFirst.begin(), "/first/");
    EXPECT_EQ(fu()->getSearchPaths(), withFirst);
}

TEST_F(FileUtilsTest, FirstSearchPathHolderWinsThenRoot) {
    tmp.write("res/a/shared.txt", "A");
    tmp.write("res/b/shared.txt", "B");
    tmp.write("res/b/only_b.txt", "b");
    tmp.write("res/only_root.txt", "r");
    tmp.write("res/a/sub/x", "");
    fu()->setDefaultResourceRootPath(tmp.file("res"));
    fu()->setSearchPaths({"a", "b"});

    EXPECT_EQ(fu()->fullPathForFilename("shared.txt"), tmp.file("res/a/shared.txt"));
    EXPECT_EQ(fu()->fullPathForFilename("only_b.txt"), tmp.file("res/b/only_b.txt"));
    EXPECT_EQ(fu()->fullPathForFilename("only_root.txt"), tmp.file("res/only_root.txt"));
    EXPECT_EQ(fu()->fullPathForFilename("sub"), tmp.file("res/a/sub"));   // folders count

    fu()->addSearchPath("b", true);
    EXPECT_EQ(fu()->fullPathForFilename("shared.txt"), tmp.file("res/b/shared.txt"));
}

// Resolution folders go between a name's folder part and its file part, in
// order, inside each search path before the next path is tried.
TEST_F(FileUtilsTest, ResolutionFoldersAreTriedInOrderWithinEachSearchPath) {
    tmp.write("res/a/ui/hd/ok.png", "a-hd");
    tmp.write("res/a/ui/ok.png", "a");
    tmp.write("res/b/hd/logo.png", "b-hd");
    tmp.write("res/a/logo.png", "a-logo");
    tmp.write("res/sd/root.png", "root-sd");
    fu()->setDefaultResourceRootPath(tmp.file("res"));
    fu()->setSearchPaths({"a", "b"});
    struct Case {
        const char* what;
        std::vector<std::string> order;
        const char* name;
        const char* found;   // under res/
    };
    const Case cases[] = {
        {"default: the folder itself", {}, "ui/ok.png", "a/ui/ok.png"},
        {"a resolution folder first", {"hd", ""}, "ui/ok.png", "a/ui/hd/ok.png"},
        {"the folder itself first", {"", "hd"}, "ui/ok.png", "a/ui/ok.png"},
        {"\"\" joins when missing", {"sd"}, "ui/ok.png", "a/ui/ok.png"},
        {"an earlier search path wins over a resolution", {"hd"}, "logo.png", "a/logo.png"},
        {"the root has resolutions too", {"sd"}, "root.png", "sd/root.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fu()->setSearchResolutionsOrder(c.order);
        EXPECT_EQ(fu()->fullPathForFilename(c.name), tmp.file(std::string("res/") + c.found));
    }
    fu()->setSearchResolutionsOrder({"hd/"});
    EXPECT_EQ(fu()->getSearchResolutionsOrder(), (std::vector<std::string>{"hd/", ""}));
    fu()->addSearchResolutionsOrder("sd");
    fu()->addSearchResolutionsOrder("xl", true);
    EXPECT_EQ(fu()->getSearchResolutionsOrder(), (std::vector<std::string>{"xl/", "hd/", "sd/", ""}));
}

// A found name is answered from memory: a better file put in place behind the
// class's back is not seen until something that may change an answer happens.
// Names not found are not remembered.
TEST_F(FileUtilsTest, ResolvedNamesAreRememberedUntilAnAnswerMayChange) {
    const std::string scratch = tmp.file("scratch");
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"purgeCachedEntries", [&] { fu()->purgeCachedEntries(); }},
        {"setSearchPaths", [&] { fu()->setSearchPaths(fu()->getSearchPaths()); }},
        {"addSearchPath", [&] { fu()->addSearchPath(tmp.file("elsewhere")); }},
        {"setSearchResolutionsOrder", [&] { fu()->setSearchResolutionsOrder({""}); }},
        {"addSearchResolutionsOrder", [&] { fu()->addSearchResolutionsOrder("sd"); }},
        {"setDefaultResourceRootPath", [&] { fu()->setDefaultResourceRootPath(tmp.file("res")); }},
        {"writeStringToFile", [&] { fu()->writeStringToFile("s", scratch + "/w.txt"); }},
        {"writeDataToFile", [&] { fu()->writeDataToFile(Data(), scratch + "/w.txt"); }},
        {"createDirectory", [&] { fu()->createDirectory(scratch + "/new"); }},
        {"removeFile", [&] { fu()->removeFile(scratch + "/none"); }},
        {"removeDirectory", [&] { fu()->removeDirectory(scratch + "/none"); }},
        {"renameFile", [&] { fu()->renameFile(scratch + "/none", scratch + "/other"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(tmp.file("res"));
        tmp.write("res/b/x.png", "b");
        tmp.write("scratch/keep", "");
        fu()->setDefaultResourceRootPath(tmp.file("res"));
        fu()->setSearchPaths({"a", "b"});
        fu()->setSearchResolutionsOrder({});
        EXPECT_EQ(fu()->fullPathForFilename("x.png"), tmp.file("res/b/x.png"));
        EXPECT_EQ(fu()->fullPathForFilename("late.png"), "");
        tmp.write("res/a/x.png", "a");
        tmp.write("res/b/late.png", "");
        EXPECT_EQ(fu()->fullPathForFilename("x.png"), tmp.file("res/b/x.png"));
        EXPECT_EQ(fu()->fullPathForFilename("late.png"), tmp.file("res/b/late.png"));
        const uint64_t before = FileUtils::fileSystemCallsForTesting();
        EXPECT_TRUE(fu()->isFileExist("x.png"));   // one stat: whether it is a file
        EXPECT_EQ(FileUtils::fileSystemCallsForTesting() - before, 1u);
        c.change();
        EXPECT_EQ(fu()->fullPathForFilename("x.png"), tmp.file("res/a/x.png"));
    }
}

TEST_F(FileUtilsTest, ListFilesGivesSortedFullPathsMarkingFolders) {
    tmp.write("res/data/b.txt", "");
    tmp.write("res/data/a.txt", "");
    tmp.write("res/data/sub/c.txt", "");
    tmp.write("res/plain.txt", "");
    fu()->setDefaultResourceRootPath(tmp.file("res"));
    const std::string data = tmp.file("res/data/");
    EXPECT_EQ(fu()->listFiles("data"), (std::vector<std::string>{data + "a.txt", data + "b.txt", data + "sub/"}));
    EXPECT_EQ(fu()->listFiles(tmp.file("res/data")).size(), 3u);
    EXPECT_TRUE(fu()->listFiles("plain.txt").empty());
    EXPECT_TRUE(fu()->listFiles("missing").empty());
}

TEST_F(FileUtilsTest, FullPathForAbsoluteAndEmptyNames) {
    std::string file = tmp.write("f.txt", "x");
    fu()->setSearchPaths({tmp.path()});
    LogCapture logs;
    EXPECT_EQ(fu()->fullPathForFilename(file), file);
    EXPECT_EQ(fu()->fullPathForFilename(tmp.path()), tmp.path());
    EXPECT_EQ(fu()->fullPathForFilename(tmp.file("nope.txt")), "");
    EXPECT_EQ(fu()->fullPathForFilename(""), "");
    EXPECT_FALSE(logs.contains(kMissingLine));
}

TEST_F(FileUtilsTest, MissingRelativeNameLogsOnlyWithPopupNotify) {
    fu()->setSearchPaths({tmp.path()});
    for (bool notify : {true, false}) {
        SCOPED_TRACE(notify);
        fu()->setPopupNotify(notify);
        LogCapture logs;
        EXPECT_EQ(fu()->fullPathForFilename("gone/x.png"), "");
        EXPECT_EQ(logs.contains(std::string(kMissingLine) + "gone/x.png. Possible missing file."), notify);
        // Existence queries never log.
        EXPECT_FALSE(fu()->isFileExist("gone/x.png"));
        EXPECT_EQ(logs.lines().size(), notify ? 1u : 0u);
    }
}

TEST_F(FileUtilsTest, FileAndDirectoryExistence) {
    tmp.write("res/dir/file.txt", "x");
    fu()->setDefaultResourceRootPath(tmp.file("res"));
    fu()->setSearchPaths({"dir"});
    struct Case {
        std::string name;
        bool file, dir;
    };
    const std::vector<Case> cases = {
        {"file.txt", true, false},            // via search path
        {"dir/file.txt", true, false},        // via root
        {"dir", false, true},
        {tmp.file("res/dir/file.txt"), true, false},
        {tmp.file("res/dir"), false, true},
        {tmp.file("res/none"), false, false},
        {"none", false, false},
        {"", false, false},
    };
    fu()->setPopupNotify(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fu()->isFileExist(c.name), c.file);
        EXPECT_EQ(fu()->isDirectoryExist(c.name), c.dir);
    }
}

TEST_F(FileUtilsTest, ReadsWholeFilesBinarySafe) {
    const std::string content("head\0mid\xff\r\ntail", 15);
    tmp.write("res/bin.dat", content);
    tmp.write("res/empty.txt", "");
    fu()->setSearchPaths({tmp.file("res")});

    EXPECT_EQ(fu()->getStringFromFile("bin.dat"), content);
    EXPECT_EQ(fu()->getFileSize("bin.dat"), 15);

    Data data = fu()->getDataFromFile("bin.dat");
    EXPECT_EQ(str(data), content);

    ptrdiff_t size = -7;
    unsigned char* bytes = fu()->getFileData(tmp.file("res/bin.dat"), "rb", &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), static_cast<size_t>(size)), content);
    std::free(bytes);

    bytes = fu()->getFileData("empty.txt", "rb", &size);
    EXPECT_NE(bytes, nullptr);
    EXPECT_EQ(size, 0);
    std::free(bytes);
    EXPECT_EQ(fu()->getFileSize("empty.txt"), 0);
    EXPECT_TRUE(fu()->getDataFromFile("empty.txt").isNull());
}

TEST_F(FileUtilsTest, ReadingMissingFilesOrFolders) {
    tmp.write("res/folder/x", "x");
    fu()->setSearchPaths({tmp.file("res")});
    fu()->setPopupNotify(false);
    for (const std::string& name : {std::string("missing.txt"), std::string("folder"), tmp.file("no/such")}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fu()->getStringFromFile(name), "");
        EXPECT_TRUE(fu()->getDataFromFile(name).isNull());
        ptrdiff_t size = 99;
        EXPECT_EQ(fu()->getFileData(name, "rb", &size), nullptr);
        EXPECT_EQ(size, 0);
        EXPECT_EQ(fu()->getFileSize(name), -1);
    }
}

TEST_F(FileUtilsTest, WritesCreateAndTruncate) {
    std::string path = tmp.write("out.txt", "a much longer previous content");
    EXPECT_TRUE(fu()->writeStringToFile(std::string("x\0y", 3), path));
    EXPECT_EQ(testsupport::readFile(path), std::string("x\0y", 3));

    Data data;
    data.copy(reinterpret_cast<const unsigned char*>("data"), 4);
    std::string fresh = tmp.file("fresh.bin");
    EXPECT_TRUE(fu()->writeDataToFile(data, fresh));
    EXPECT_EQ(testsupport::readFile(fresh), "data");

    EXPECT_TRUE(fu()->writeDataToFile(Data::Null, path));
    EXPECT_EQ(testsupport::readFile(path), "");

    LogCapture logs;
    EXPECT_FALSE(fu()->writeStringToFile("x", tmp.file("no/such/dir/f.txt")));
    EXPECT_FALSE(fu()->writeStringToFile("x", tmp.path()));
    EXPECT_FALSE(fu()->writeStringToFile("x", ""));
}

TEST_F(FileUtilsTest, WritablePathDefaultsFromEnvironment) {
    struct Case {
        std::optional<std::string> xdg, home;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/xdg/data", "/home/u", "/xdg/data/vexo-client/"},
        {std::nullopt, "/home/u", "/home/u/.local/share/vexo-client/"},
        {std::nullopt, std::nullopt, "/tmp/vexo-client/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        FileUtils::destroyInstance();
        EXPECT_EQ(fu()->getWritablePath(), c.expected);
    }
}

TEST_F(FileUtilsTest, SetWritablePathAddsSlashAndEmptyResets) {
    ScopedEnv xdg("XDG_DATA_HOME", "/xdg");
    fu()->setWritablePath("/game/data");
    EXPECT_EQ(fu()->getWritablePath(), "/game/data/");
    fu()->setWritablePath("/game/other/");
    EXPECT_EQ(fu()->getWritablePath(), "/game/other/");
    fu()->setWritablePath("");
    EXPECT_EQ(fu()->getWritablePath(), "/xdg/vexo-client/");
}

TEST_F(FileUtilsTest, CreateAndRemoveDirectoriesRecursively) {
    const std::string deep = tmp.file("a/b/c");
    EXPECT_TRUE(fu()->createDirectory(deep));
    EXPECT_TRUE(isDir(deep));
    EXPECT_TRUE(fu()->createDirectory(deep + "/"));   // already there
    EXPECT_TRUE(fu()->createDirectory(tmp.file("t/u/")));
    EXPECT_TRUE(isDir(tmp.file("t/u")));

    const std::string file = tmp.write("a/b/c/f.txt", "x");
    EXPECT_FALSE(fu()->createDirectory(file));
    EXPECT_FALSE(fu()->createDirectory(file + "/below"));

    EXPECT_FALSE(fu()->removeDirectory(file));   // a file is not a folder
    EXPECT_TRUE(exists(file));

    EXPECT_TRUE(fu()->removeDirectory(tmp.file("a") + "/"));
    EXPECT_FALSE(exists(tmp.file("a")));
    EXPECT_TRUE(fu()->removeDirectory(tmp.file("a")));   // already gone
    EXPECT_TRUE(isDir(tmp.file("t/u")));

    const std::string lone = tmp.write("lone.txt", "x");
    EXPECT_TRUE(fu()->removeFile(lone));
    EXPECT_FALSE(exists(lone));
    EXPECT_FALSE(fu()->removeFile(lone));
}

// Removing never follows a link under the name, whatever its spelling: the link goes,
// its target and the target's content stay.
TEST_F(FileUtilsTest, RemovingAFolderNeverFollowsALink) {
    const std::string outside = tmp.write("outside/keep.txt", "keep");
    const char* spellings[] = {"lnk", "lnk/", "lnk/.", "lnk//", "lnk/./", "lnk/.//./"};
    for (const char* spelling : spellings) {
        SCOPED_TRACE(spelling);
        ::symlink(tmp.file("outside").c_str(), tmp.file("lnk").c_str());
        EXPECT_TRUE(fu()->removeDirectory(tmp.file(spelling)));
        EXPECT_FALSE(exists(tmp.file("lnk")));
        EXPECT_EQ(testsupport::readFile(outside), "keep");
    }

    // Links met inside the folder go as links too.
    tmp.write("cache/sub/f.txt", "x");
    ::symlink(tmp.file("outside").c_str(), tmp.file("cache/sub/lnk").c_str());
    EXPECT_TRUE(fu()->removeDirectory(tmp.file("cache/")));
    EXPECT_FALSE(exists(tmp.file("cache")));
    EXPECT_EQ(testsupport::readFile(outside), "keep");

    // ".." at the end names what lies beyond the link, "." the current folder: both
    // refused. (Every name here stays inside the temporary folder, so that even a
    // faulty removal could not reach anything else.)
    LogCapture logs;
    ::symlink(tmp.file("outside").c_str(), tmp.file("lnk").c_str());
    const std::string here = tmp.write("here/mine.txt", "mine");
    const std::string previous = platform::currentDirectory();
    ASSERT_TRUE(platform::setCurrentDirectory(tmp.file("here")));
    for (const std::string& name : {tmp.file("lnk/.."), tmp.file("lnk/../"), std::string("."),
                                    std::string("./"), std::string("./.")}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(fu()->removeDirectory(name));
    }
    ASSERT_TRUE(platform::setCurrentDirectory(previous));
    EXPECT_TRUE(exists(tmp.file("lnk")));
    EXPECT_EQ(testsupport::readFile(outside), "keep");
    EXPECT_EQ(testsupport::readFile(here), "mine");
    EXPECT_TRUE(logs.contains("FileUtils: refused to remove " + tmp.file("lnk/..")));
}

// A name holding a zero byte would reach the system cut at that byte ("dir/.." here,
// the temporary folder itself): every operation refuses it and logs why.
TEST_F(FileUtilsTest, NamesWithAZeroByteAreRefused) {
    tmp.write("dir/f.txt", "content");
    const std::string nul("\0x", 2);
    const std::string bad = tmp.file("dir/..") + nul;
    const std::string badRelative = "dir/f.txt" + nul;
    fu()->setDefaultResourceRootPath(tmp.path());
    fu()->setSearchPaths({tmp.path()});
    fu()->setWritablePath(tmp.file("w"));

    struct Case {
        const char* what;
        const char* loggedAs;            // the operation named by the log line
        std::function<bool()> refused;   // true when the answer is the refusal's
    };
    const Case cases[] = {
        {"fullPathForFilename", "fullPathForFilename", [&] { return fu()->fullPathForFilename(bad).empty() &&
                                             fu()->fullPathForFilename(badRelative).empty(); }},
        {"isFileExist", "isFileExist", [&] { return !fu()->isFileExist(badRelative); }},
        {"isDirectoryExist", "isDirectoryExist", [&] { return !fu()->isDirectoryExist(bad); }},
        {"isAbsolutePath", "isAbsolutePath", [&] { return !fu()->isAbsolutePath(bad); }},
        {"getStringFromFile", "fullPathForFilename", [&] { return fu()->getStringFromFile(badRelative).empty(); }},
        {"getDataFromFile", "fullPathForFilename", [&] { return fu()->getDataFromFile(badRelative).isNull(); }},
        {"getFileData", "fullPathForFilename", [&] {
             ptrdiff_t size = 7;
             return fu()->getFileData(badRelative, "rb", &size) == nullptr && size == 0;
         }},
        {"getFileSize", "fullPathForFilename", [&] { return fu()->getFileSize(badRelative) == -1; }},
        {"writeStringToFile", "writeStringToFile", [&] { return !fu()->writeStringToFile("x", tmp.file("dir/f.txt") + nul); }},
        {"writeDataToFile", "writeDataToFile", [&] { return !fu()->writeDataToFile(Data(), tmp.file("dir/f.txt") + nul); }},
        {"createDirectory", "createDirectory", [&] { return !fu()->createDirectory(tmp.file("new") + nul); }},
        {"removeDirectory", "removeDirectory", [&] { return !fu()->removeDirectory(bad); }},
        {"removeFile", "removeFile", [&] { return !fu()->removeFile(tmp.file("dir/f.txt") + nul); }},
        {"renameFile from", "renameFile", [&] { return !fu()->renameFile(tmp.file("dir/f.txt") + nul, tmp.file("g.txt")); }},
        {"renameFile to", "renameFile", [&] { return !fu()->renameFile(tmp.file("dir/f.txt"), tmp.file("g.txt") + nul); }},
        {"renameFile in a folder", "renameFile", [&] { return !fu()->renameFile(tmp.file("dir"), "f.txt" + nul, "g.txt"); }},
        {"setWritablePath", "setWritablePath", [&] {
             fu()->setWritablePath(bad);
             return fu()->getWritablePath() == tmp.file("w/");
         }},
        {"setDefaultResourceRootPath", "setDefaultResourceRootPath", [&] {
             fu()->setDefaultResourceRootPath(bad);
             return fu()->getDefaultResourceRootPath() == tmp.path() + "/";
         }},
        {"addSearchPath", "addSearchPath", [&] {
             fu()->addSearchPath(bad);
             return fu()->getSearchPaths() == std::vector<std::string>{tmp.path() + "/"};
         }},
        {"setSearchPaths", "setSearchPaths", [&] {
             fu()->setSearchPaths({bad, tmp.file("other")});
             const bool dropped = fu()->getSearchPaths() == std::vector<std::string>{tmp.file("other/")};
             fu()->setSearchPaths({tmp.path()});
             return dropped;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture logs;
        EXPECT_TRUE(c.refused());
        EXPECT_TRUE(logs.contains(std::string("FileUtils::") + c.loggedAs +
                                  ": refused a name holding a zero byte"));
        EXPECT_EQ(testsupport::readFile(tmp.file("dir/f.txt")), "content");
        EXPECT_FALSE(exists(tmp.file("g.txt")));
        EXPECT_FALSE(exists(tmp.file("new")));
    }
    EXPECT_TRUE(fu()->isFileExist("dir/f.txt"));   // the same names without the byte work
}

TEST_F(FileUtilsTest, WritesReplaceALinkInsteadOfWritingThroughIt) {
    const std::string outside = tmp.write("outside.txt", "outside");
    const std::string path = tmp.file("save.txt");
    ::symlink(outside.c_str(), path.c_str());
    EXPECT_TRUE(fu()->writeStringToFile("saved", path));
    EXPECT_EQ(testsupport::readFile(path), "saved");
    EXPECT_EQ(testsupport::readFile(outside), "outside");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()),
                            std::filesystem::directory_iterator()), 2);   // no temporary left
}

TEST_F(FileUtilsTest, RenameReplacesTarget) {
    const std::string from = tmp.write("old.txt", "new content");
    const std::string to = tmp.write("target.txt", "old content");
    EXPECT_TRUE(fu()->renameFile(from, to));
    EXPECT_FALSE(exists(from));
    EXPECT_EQ(testsupport::readFile(to), "new content");

    LogCapture logs;
    EXPECT_FALSE(fu()->renameFile(from, to));   // source gone
    EXPECT_EQ(testsupport::readFile(to), "new content");
}

TEST_F(FileUtilsTest, RenameWithinFolder) {
    for (const std::string& dir : {tmp.path(), tmp.path() + "/"}) {
        SCOPED_TRACE(dir);
        tmp.write("x.txt", "X");
        tmp.write("y.txt", "Y");
        EXPECT_TRUE(fu()->renameFile(dir, "x.txt", "y.txt"));
        EXPECT_FALSE(exists(tmp.file("x.txt")));
        EXPECT_EQ(testsupport::readFile(tmp.file("y.txt")), "X");
    }
}

TEST(DataTest, CopyIsIndependent) {
    Data a;
    a.copy(reinterpret_cast<const unsigned char*>("abc"), 3);
    Data b(a);
    Data c;
    c = a;
    a.getBytes()[0] = 'z';
    EXPECT_EQ(str(b), "abc");
    EXPECT_EQ(str(c), "abc");
    EXPECT_NE(b.getBytes(), a.getBytes());

    c = c;   // self-assignment keeps the content
    EXPECT_EQ(str(c), "abc");
    c.copy(c.getBytes() + 1, 2);   // copying from its own buffer
    EXPECT_EQ(str(c), "bc");
}

TEST(DataTest, FastSetTakesOwnershipAndTakeBufferHandsItOut) {
    Data d;
    unsigned char* first = mallocCopy("one");
    d.fastSet(first, 3);
    EXPECT_EQ(d.getBytes(), first);
    d.fastSet(mallocCopy("two!"), 4);   // frees the first buffer
    EXPECT_EQ(str(d), "two!");
    d.fastSet(d.getBytes(), 3);         // same buffer: kept, not freed
    EXPECT_EQ(str(d), "two");

    ptrdiff_t size = 0;
    unsigned char* taken = d.takeBuffer(&size);
    EXPECT_EQ(size, 3);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(d.getBytes(), nullptr);
    std::free(taken);

    Data held;
    held.fastSet(mallocCopy("kept"), 4);   // freed by the destructor
    Data moved(std::move(held));
    EXPECT_TRUE(held.isNull());
    EXPECT_EQ(str(moved), "kept");
    Data assigned;
    assigned.copy(reinterpret_cast<const unsigned char*>("old"), 3);
    assigned = std::move(moved);   // frees "old"
    EXPECT_EQ(str(assigned), "kept");
}

TEST(DataTest, NullAndEmptyInputs) {
    EXPECT_TRUE(Data::Null.isNull());
    Data d;
    d.copy(reinterpret_cast<const unsigned char*>("x"), 1);
    d.copy(nullptr, 5);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(d.getSize(), 0);
    Data fromNull(Data::Null);
    EXPECT_TRUE(fromNull.isNull());
    ptrdiff_t size = 42;
    EXPECT_EQ(fromNull.takeBuffer(&size), nullptr);
    EXPECT_EQ(size, 0);
}
