#include "updater/ZipExtract.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempDir;

namespace {

struct Entry {
    std::string name;
    std::string data;
    int method = Z_DEFLATED;  // 0: stored
};

void writeZip(const std::string& path, const std::vector<Entry>& entries,
              const char* comment = nullptr) {
    zipFile zf = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zf, nullptr);
    for (const Entry& e : entries) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(zf, e.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                        nullptr, e.method,
                                        e.method ? Z_DEFAULT_COMPRESSION : 0, 0),
                  ZIP_OK);
        if (!e.data.empty()) {
            ASSERT_EQ(zipWriteInFileInZip(zf, e.data.data(), static_cast<unsigned>(e.data.size())),
                      ZIP_OK);
        }
        ASSERT_EQ(zipCloseFileInZip(zf), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zf, comment), ZIP_OK);
}

// Replaces every occurrence of `from` in the file by `to` (same length).
void patchFile(const std::string& path, const std::string& from, const std::string& to) {
    std::string bytes = readFile(path);
    size_t hits = 0;
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
        bytes.replace(at, from.size(), to);
        ++hits;
    }
    ASSERT_GT(hits, 0u);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every file and folder below root, relative to it.
std::set<std::string> listTree(const std::string& root) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        out.insert(fs::relative(e.path(), root).generic_string());
    return out;
}

class ZipExtract : public ::testing::Test {
protected:
    ZipExtract() {
        _previous = platform::setDebugOutputSink([this](const std::string& text) {
            std::lock_guard<std::mutex> lock(_mutex);
            _debug += text;
        });
    }
    ~ZipExtract() override { platform::setDebugOutputSink(_previous); }

    std::string debugText() {
        std::lock_guard<std::mutex> lock(_mutex);
        return _debug;
    }

    TempDir _zips;   // packages
    TempDir _root;   // the destination lives below it, so escapes would show
    const std::string _zip = _zips.file("pkg.zip");
    const std::string _dest = _root.file("out/dest");

    void SetUp() override { fs::create_directories(_dest); }

private:
    std::mutex _mutex;
    std::string _debug;
    platform::DebugOutputSink _previous;
};

TEST_F(ZipExtract, NestedNamesWithoutFolderEntries) {
    const std::string longName = std::string(150, 'p') + "/" + std::string(150, 'q') + "/" +
                                 std::string(150, 'r') + "/" + std::string(100, 's') + ".txt";
    writeZip(_zip, {{"a/b/c.txt", "deep"},
                    {"a/d.txt", "shallow"},
                    {"top.bin", std::string(300000, 'z') + "end", 0},
                    {"empty/", ""},
                    {"x/y/", ""},
                    {"win\\style\\f.txt", "backslashes"},
                    {"a/./dot.txt", "dot"},
                    {"zero.txt", ""},
                    {longName, "long"}});
    ASSERT_TRUE(updater::unzipPackage(_zip, _dest));  // no trailing "/"

    EXPECT_EQ(readFile(_dest + "/a/b/c.txt"), "deep");
    EXPECT_EQ(readFile(_dest + "/a/d.txt"), "shallow");
    EXPECT_EQ(readFile(_dest + "/top.bin"), std::string(300000, 'z') + "end");
    EXPECT_TRUE(fs::is_directory(_dest + "/empty"));
    EXPECT_TRUE(fs::is_directory(_dest + "/x/y"));
    EXPECT_EQ(readFile(_dest + "/win/style/f.txt"), "backslashes");
    EXPECT_EQ(readFile(_dest + "/a/dot.txt"), "dot");
    EXPECT_TRUE(fs::is_regular_file(_dest + "/zero.txt"));
    EXPECT_EQ(fs::file_size(_dest + "/zero.txt"), 0u);
    EXPECT_EQ(readFile(_dest + "/" + longName), "long");
    for (const std::string& p : listTree(_root.path()))
        EXPECT_EQ(p.find(".unzip-"), std::string::npos) << p;
}

TEST_F(ZipExtract, EmptyZipSucceedsWithZeroEntries) {
    const char* comments[] = {nullptr, "an archive comment"};
    for (const char* comment : comments) {
        SCOPED_TRACE(comment ? comment : "no comment");
        writeZip(_zip, {}, comment);
        std::vector<std::pair<int64_t, int64_t>> calls;
        int ticks = 0;
        updater::UnzipHooks hooks;
        hooks.entryProgress = [&](int64_t done, int64_t total) { calls.emplace_back(done, total); };
        hooks.progressTick = [&] { ++ticks; };
        hooks.progressInterval = std::chrono::milliseconds(0);
        EXPECT_TRUE(updater::unzipPackage(_zip, _dest + "/", hooks));
        EXPECT_EQ(calls, (std::vector<std::pair<int64_t, int64_t>>{{0, 0}}));
        EXPECT_EQ(ticks, 0);
        EXPECT_TRUE(listTree(_dest).empty());
    }
}

TEST_F(ZipExtract, StopBetweenEntriesKeepsOnlyWhatWasWritten) {
    writeZip(_zip, {{"one.txt", "1"}, {"two.txt", "2"}, {"three.txt", "3"}});
    int asked = 0;
    updater::UnzipHooks hooks;
    hooks.stopRequested = [&] { return ++asked > 1; };
    EXPECT_FALSE(updater::unzipPackage(_zip, _dest, hooks));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(listTree(_dest), (std::set<std::string>{"one.txt"}));
    EXPECT_EQ(debugText(), "");  // a stop is not a failure to report
}

TEST_F(ZipExtract, ReplacesExistingFiles) {
    std::ofstream(_dest + "/a.txt") << "an older and much longer content";
    writeZip(_zip, {{"a.txt", "new"}});
    ASSERT_TRUE(updater::unzipPackage(_zip, _dest + "/"));
    EXPECT_EQ(readFile(_dest + "/a.txt"), "new");
}

TEST_F(ZipExtract, EntriesNamedLikeTemporaryFilesSurvive) {
    writeZip(_zip, {{"f.unzip-part", "one"}, {"f.unzip-XXXXXX", "two"}, {"f", "three"}});
    ASSERT_TRUE(updater::unzipPackage(_zip, _dest));
    EXPECT_EQ(readFile(_dest + "/f.unzip-part"), "one");
    EXPECT_EQ(readFile(_dest + "/f.unzip-XXXXXX"), "two");
    EXPECT_EQ(readFile(_dest + "/f"), "three");
    EXPECT_EQ(listTree(_dest).size(), 3u);
}

TEST_F(ZipExtract, UnsafeNamesFailThePackageAndNothingEscapes) {
    struct Case {
        std::string name;
        bool safe;
        std::string landsAt;  // below dest, when safe
    };
    const Case cases[] = {
        {"../x", false, ""},
        {"a/../../x", false, ""},
        {"..\\x", false, ""},
        {"a\\..\\..\\x", false, ""},
        {"a/..", false, ""},
        {"..", false, ""},
        {"../", false, ""},
        {"/abs", false, ""},
        {"\\abs", false, ""},
        {"C:/x", false, ""},
        {"c:x", false, ""},
        {"", false, ""},
        // The updater's own files in the cache: serial, marker and temporaries.
        {"LocalResSignSn", false, ""},
        {"./LocalResSignSn", false, ""},
        {"BaseIncomplete", false, ""},
        {"LocalResSignSn/x", false, ""},
        {"LocalResSignSn.part-1-0", false, ""},
        {"BaseIncomplete.part-7-3", false, ""},
        {".unzip-0", false, ""},
        {"a\\.unzip-3", false, ""},
        {"sub/LocalResSignSn", true, "sub/LocalResSignSn"},
        {"LocalResSignSn.txt", true, "LocalResSignSn.txt"},
        {"a/./b", true, "a/b"},
        {"..a/b..", true, "..a/b.."},
        {"...", true, "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("entry name '" + c.name + "'");
        fs::remove_all(_root.file("out"));
        fs::create_directories(_dest);
        // The unsafe entry comes after a good one: that one stays, nothing else is made.
        writeZip(_zip, {{"first.txt", "ok"}, {c.name, "payload"}});
        EXPECT_EQ(updater::unzipPackage(_zip, _dest), c.safe);
        std::set<std::string> expected = {"out", "out/dest", "out/dest/first.txt"};
        if (c.safe) {
            const fs::path at = (fs::path("out/dest") / c.landsAt).lexically_normal();
            for (fs::path p = at; p != "out/dest"; p = p.parent_path()) expected.insert(p.string());
            EXPECT_EQ(readFile(_dest + "/" + c.landsAt), "payload");
        }
        EXPECT_EQ(listTree(_root.path()), expected);
    }
    EXPECT_NE(debugText().find("refused zip entry ../x\n"), std::string::npos);
}

TEST_F(ZipExtract, NameWithZeroByteIsRefused) {
    writeZip(_zip, {{"keepQname", "data"}});
    patchFile(_zip, "keepQname", std::string("keep\0name", 9));
    EXPECT_FALSE(updater::unzipPackage(_zip, _dest));
    EXPECT_TRUE(listTree(_dest).empty());
}

TEST_F(ZipExtract, UnreadableZipsFail) {
    const std::string good = _zips.file("good.zip");
    writeZip(good, {{"a.txt", std::string(5000, 'a')}});
    const std::string bytes = readFile(good);

    struct Case {
        const char* label;
        std::string content;  // empty: no file at all
    };
    const Case cases[] = {
        {"missing", ""},
        {"not a zip", std::string(4096, 'n')},
        {"cut in half", bytes.substr(0, bytes.size() / 2)},
        {"cut before the end record", bytes.substr(0, bytes.size() - 5)},
        {"end record alone, claiming an entry",
         std::string("PK\x05\x06\0\0\0\0\x01\0\x01\0\0\0\0\0\0\0\0\0\0\0", 22)},
        {"empty end record with trailing bytes",
         std::string("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22) + "junk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(_zip);
        if (!c.content.empty()) std::ofstream(_zip, std::ios::binary) << c.content;
        EXPECT_FALSE(updater::unzipPackage(_zip, _dest));
        EXPECT_TRUE(listTree(_dest).empty());
    }
    EXPECT_NE(debugText().find("can not open downloaded zip file " + _zip + "\n"),
              std::string::npos);
}

// Damaged data must fail the package and must not replace the file on disk, whether
// inflate notices (deflated entry) or only the checksum does (stored entry).
TEST_F(ZipExtract, DamagedEntryDataFailsAndKeepsTheOldFile) {
    const int methods[] = {Z_DEFLATED, 0};
    for (int method : methods) {
        SCOPED_TRACE(method);
        std::ofstream(_dest + "/a.txt", std::ios::trunc) << "previous";
        std::string data;
        for (int i = 0; i < 4000; ++i) data += "line " + std::to_string(i * 7919 % 1000) + "\n";
        writeZip(_zip, {{"a.txt", data, method}});
        std::string bytes = readFile(_zip);
        // Flip bits in the middle of the entry's data (after its local header).
        // Local header: 30 bytes and the name; central record and end record: 51 + 22.
        const size_t mid = 35 + (bytes.size() - 35 - 73) / 2;
        for (size_t i = mid; i < mid + 8; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
        std::ofstream(_zip, std::ios::binary | std::ios::trunc) << bytes;

        EXPECT_FALSE(updater::unzipPackage(_zip, _dest));
        EXPECT_EQ(readFile(_dest + "/a.txt"), "previous");
        EXPECT_EQ(listTree(_dest), (std::set<std::string>{"a.txt"}));
    }
    EXPECT_NE(debugText().find("can not read zip file a.txt, error code is"), std::string::npos);
}

TEST_F(ZipExtract, ConflictsWithWhatIsOnDiskFail) {
    struct Case {
        const char* label;
        const char* existingFolder;  // made below dest
        const char* existingFile;
        const char* entry;
    };
    const Case cases[] = {
        {"file where a folder is needed", nullptr, "a", "a/b.txt"},
        {"file where a folder entry is", nullptr, "d", "d/"},
        {"folder where a file goes", "f.txt", nullptr, "f.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(_dest);
        fs::create_directories(_dest);
        if (c.existingFolder) fs::create_directories(_dest + "/" + c.existingFolder);
        if (c.existingFile) std::ofstream(_dest + "/" + c.existingFile) << "x";
        writeZip(_zip, {{c.entry, c.entry[std::strlen(c.entry) - 1] == '/' ? "" : "data"}});
        EXPECT_FALSE(updater::unzipPackage(_zip, _dest));
    }
}

// Links already inside the destination are never followed: an entry whose folders
// pass through one fails the package and nothing appears where the link points; an
// entry named like a link replaces the link itself.
TEST_F(ZipExtract, LinksInsideTheDestinationAreNeverFollowed) {
    struct Case {
        const char* entry;
        bool ok;
    };
    const Case cases[] = {
        {"link/x.txt", false},
        {"link/", false},
        {"link/sub/x.txt", false},
        {"link\\x.txt", false},
        {"./link/x.txt", false},
        {"a/inner/x.txt", false},   // a link deeper down
        {"filelink", true},          // replaced by the entry, the file it named untouched
    };
    const std::string outside = _root.file("outside");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        fs::remove_all(_root.file("out"));
        fs::remove_all(outside);
        fs::create_directories(_dest + "/a");
        fs::create_directories(outside);
        std::ofstream(outside + "/file") << "outside";
        fs::create_directory_symlink(outside, _dest + "/link");
        fs::create_directory_symlink(outside, _dest + "/a/inner");
        fs::create_symlink(outside + "/file", _dest + "/filelink");
        writeZip(_zip, {{c.entry, c.entry[std::strlen(c.entry) - 1] == '/' ? "" : "payload"}});

        EXPECT_EQ(updater::unzipPackage(_zip, _dest), c.ok);
        EXPECT_EQ(listTree(outside), std::set<std::string>{"file"});
        EXPECT_EQ(readFile(outside + "/file"), "outside");
        if (c.ok) {
            EXPECT_FALSE(fs::is_symlink(_dest + "/" + c.entry));
            EXPECT_EQ(readFile(_dest + "/" + c.entry), "payload");
        }
    }
}

// A zip64 end record may claim more entries than a signed count holds: such a package
// is corrupt, never an empty success.
TEST_F(ZipExtract, EntryCountBeyondTheSignedRangeIsCorrupt) {
    auto le = [](uint64_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
        return out;
    };
    const uint64_t counts[] = {0x8000000000000000ull, 0xffffffffffffffffull, 5};
    for (uint64_t count : counts) {
        SCOPED_TRACE(count);
        // Four bytes of padding (the zip64 end record must not sit at offset 0), the
        // zip64 end record with an empty central folder, its locator, the end record.
        const std::string bytes = std::string(4, '\0') +
            le(0x06064b50, 4) + le(44, 8) + le(45, 2) + le(45, 2) + le(0, 4) + le(0, 4) +
            le(count, 8) + le(count, 8) + le(0, 8) + le(0, 8) +
            le(0x07064b50, 4) + le(0, 4) + le(4, 8) + le(1, 4) +
            le(0x06054b50, 4) + le(0, 4) + le(0xffff, 2) + le(0xffff, 2) +
            le(0xffffffff, 4) + le(0xffffffff, 4) + le(0, 2);
        std::ofstream(_zip, std::ios::binary | std::ios::trunc) << bytes;
        std::vector<std::pair<int64_t, int64_t>> calls;
        updater::UnzipHooks hooks;
        hooks.entryProgress = [&](int64_t done, int64_t total) { calls.emplace_back(done, total); };
        EXPECT_FALSE(updater::unzipPackage(_zip, _dest, hooks));
        for (const auto& [done, total] : calls) EXPECT_GE(total, 0);
    }
}

// Whoever records a package as installed after a true answer relies on its files being
// on disk: the flush comes after the last file is in place, and before the answer.
TEST_F(ZipExtract, EverythingIsFlushedBeforeSuccessIsAnswered) {
    writeZip(_zip, {{"a.txt", "1"}, {"d/b.txt", "2"}, {"e/", ""}});
    std::vector<std::pair<platform::DiskStep, std::string>> steps;
    auto previous = platform::setDiskStepObserver(
        [&](platform::DiskStep step, const std::string& name) { steps.emplace_back(step, name); });
    const bool ok = updater::unzipPackage(_zip, _dest);
    platform::setDiskStepObserver(previous);
    ASSERT_TRUE(ok);
    const std::vector<std::pair<platform::DiskStep, std::string>> expected = {
        {platform::DiskStep::Renamed, "a.txt"},
        {platform::DiskStep::Renamed, "b.txt"},
        {platform::DiskStep::FileSystemFlushed, "."},
    };
    EXPECT_EQ(steps, expected);
}

TEST_F(ZipExtract, EntryProgressCountsEveryEntry) {
    writeZip(_zip, {{"a", "1"}, {"b/", ""}, {"b/c", "2"}});
    std::vector<std::pair<int64_t, int64_t>> calls;
    int ticks = 0;
    updater::UnzipHooks hooks;
    hooks.entryProgress = [&](int64_t done, int64_t total) { calls.emplace_back(done, total); };
    hooks.progressTick = [&] { ++ticks; };
    hooks.progressInterval = std::chrono::milliseconds(0);
    ASSERT_TRUE(updater::unzipPackage(_zip, _dest, hooks));
    EXPECT_EQ(calls, (std::vector<std::pair<int64_t, int64_t>>{{0, 3}, {0, 3}, {1, 3}, {2, 3}}));
    EXPECT_EQ(ticks, 3);  // no interval: one tick before each entry

    ticks = 0;
    hooks.progressInterval = std::chrono::hours(1);
    ASSERT_TRUE(updater::unzipPackage(_zip, _dest, hooks));
    EXPECT_EQ(ticks, 0);
}

TEST_F(ZipExtract, ProgressTicksAreThrottled) {
    std::vector<Entry> entries;
    for (int i = 0; i < 8; ++i) entries.push_back({"f" + std::to_string(i), "x"});
    writeZip(_zip, entries);
    int ticks = 0;
    updater::UnzipHooks hooks;  // default interval: 100 ms
    hooks.stopRequested = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        return false;
    };
    hooks.progressTick = [&] { ++ticks; };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(updater::unzipPackage(_zip, _dest, hooks));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // At least 120 ms have passed by the fourth entry, so one tick came by then; and
    // never more than one per 100 ms.
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, elapsed / std::chrono::milliseconds(100));
}

}  // namespace
