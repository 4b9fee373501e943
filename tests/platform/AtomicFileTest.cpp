#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using platform::AtomicFileWriter;
using platform::DiskStep;
using testsupport::readFile;
using testsupport::TempDir;

namespace {

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
    return out;
}

// Records the durability steps made while alive.
class StepRecorder {
public:
    StepRecorder() {
        _previous = platform::setDiskStepObserver(
            [this](DiskStep step, const std::string& name) { steps.emplace_back(step, name); });
    }
    ~StepRecorder() { platform::setDiskStepObserver(std::move(_previous)); }
    std::vector<std::pair<DiskStep, std::string>> steps;

private:
    platform::DiskStepObserver _previous;
};

TEST(AtomicFile, ContentIsFlushedBeforeTheRenameAndTheFolderAfter) {
    TempDir dir;
    const std::string target = dir.write("t.txt", "old");
    StepRecorder recorder;
    ASSERT_TRUE(platform::writeFileAtomically(target, target + ".tmp", "new"));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"t.txt"});
    const std::vector<std::pair<DiskStep, std::string>> expected = {
        {DiskStep::FileFlushed, target + ".tmp"},
        {DiskStep::Renamed, target},
        {DiskStep::FolderFlushed, dir.path()},
    };
    EXPECT_EQ(recorder.steps, expected);
}

// Nothing is ever written through a link, whether it stands at the target (replaced
// by the file) or at the temporary's name (the write fails and the target stays).
TEST(AtomicFile, LinksAreNeverWrittenThrough) {
    TempDir dir;
    const std::string outside = dir.write("outside.txt", "outside");
    const std::string target = dir.file("in/t.txt");
    fs::create_directories(dir.file("in"));

    fs::create_symlink(outside, target);
    ASSERT_TRUE(platform::writeFileAtomically(target, target + ".tmp", "new"));
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(readFile(outside), "outside");

    fs::create_symlink(outside, target + ".tmp");
    EXPECT_FALSE(platform::writeFileAtomically(target, target + ".tmp", "newer"));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(readFile(outside), "outside");
}

TEST(AtomicFile, FailuresKeepTheTargetAndLeaveNoTemporary) {
    TempDir dir;
    const std::string target = dir.write("t.txt", "old");
    struct Case {
        const char* label;
        std::string target, temp;
    };
    fs::create_directories(dir.file("folder"));
    ::mkfifo(dir.file("fifo").c_str(), 0600);
    const Case cases[] = {
        {"missing folder", dir.file("missing/t.txt"), dir.file("missing/t.tmp")},
        {"folder in the target's place", dir.file("folder"), dir.file("folder.tmp")},
        {"folder in the temporary's place", target, dir.file("folder")},
        {"fifo in the temporary's place", target, dir.file("fifo")},
        {"empty temporary name", target, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(platform::writeFileAtomically(c.target, c.temp, "new"));
        EXPECT_EQ(readFile(target), "old");
        EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"t.txt", "folder", "fifo"}));
    }
}

TEST(AtomicFile, WriterStepsAbandonAndExclusiveNames) {
    TempDir dir;
    const std::string target = dir.write("t.txt", "old");

    {   // Finished but never committed: the temporary goes with the writer.
        AtomicFileWriter w;
        ASSERT_TRUE(w.open(target + ".a"));
        ASSERT_TRUE(w.write("part", 4));
        ASSERT_TRUE(w.finish());
        EXPECT_EQ(readFile(target + ".a"), "part");
    }
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"t.txt"});

    // An exclusive open refuses an existing name; a plain one truncates it.
    dir.write("t.txt.b", "stale content");
    AtomicFileWriter w;
    EXPECT_FALSE(w.open(target + ".b", AT_FDCWD, true));
    EXPECT_EQ(w.error(), EEXIST);
    EXPECT_EQ(readFile(target + ".b"), "stale content");
    ASSERT_TRUE(w.open(target + ".b"));
    ASSERT_TRUE(w.write("x", 1));
    ASSERT_TRUE(w.commit(target));
    EXPECT_EQ(readFile(target), "x");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"t.txt"});
    EXPECT_FALSE(w.commit(target));   // nothing left to commit
}

TEST(AtomicFile, TheCommittedFileHasTheAskedMode) {
    TempDir dir;
    const mode_t oldMask = ::umask(022);
    struct Case {
        const char* name;
        mode_t mode, stale;   // stale: mode of a temporary already at the name (0: none)
        mode_t expected;
    };
    const Case cases[] = {
        {"default", 0644, 0, 0644},
        {"owner only", 0600, 0, 0600},
        {"owner only over a wider temporary", 0600, 0666, 0600},
        {"default over a wider temporary", 0644, 0777, 0644},
        {"umask applies", 0666, 0, 0644},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = dir.write("t.txt", "old");
        const std::string temp = target + ".tmp";
        if (c.stale != 0) {
            ASSERT_EQ(::chmod(dir.write("t.txt.tmp", "stale").c_str(), c.stale), 0);
        }
        ASSERT_TRUE(platform::writeFileAtomically(target, temp, "new", c.mode));
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.expected);
        EXPECT_EQ(readFile(target), "new");
    }
    ::umask(oldMask);
}

// Names relative to a folder descriptor, flushes left to one file-system sync.
TEST(AtomicFile, DeferredFlushInAFolder) {
    TempDir dir;
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    StepRecorder recorder;
    AtomicFileWriter w(AtomicFileWriter::Flush::Deferred);
    ASSERT_TRUE(w.open(".tmp", folder, true));
    ASSERT_TRUE(w.write("abc", 3));
    ASSERT_TRUE(w.commit("f.txt"));
    ASSERT_TRUE(platform::syncFileSystem(folder));
    ::close(folder);
    EXPECT_EQ(readFile(dir.file("f.txt")), "abc");
    const std::vector<std::pair<DiskStep, std::string>> expected = {
        {DiskStep::Renamed, "f.txt"},
        {DiskStep::FileSystemFlushed, "."},
    };
    EXPECT_EQ(recorder.steps, expected);
}

}  // namespace
