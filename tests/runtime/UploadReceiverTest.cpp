#include "runtime/UploadReceiver.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "RuntimeTestSupport.h"

using runtime::FileSendComplete;
using runtime::UploadReceiver;
using runtimetest::partFrame;
using runtimetest::partMessage;
using Outcome = UploadReceiver::Outcome;

namespace {

// Feeds a receiver from a byte string and collects what each frame gave.
struct Feed {
    explicit Feed(std::string bytes)
        : data(std::move(bytes)), receiver([this](void* buffer, size_t n) {
              if (data.size() - at < n) return false;
              std::memcpy(buffer, data.data() + at, n);
              at += n;
              return true;
          }) {}

    struct Step {
        Outcome outcome;
        std::string name;
        std::string content;
        int result;
        int code;
    };
    std::vector<Step> all() {
        std::vector<Step> steps;
        for (;;) {
            UploadReceiver::Part part;
            UploadReceiver::Failure failure;
            Outcome o = receiver.next(part, failure);
            if (o == Outcome::kClosed) return steps;
            if (o == Outcome::kFailed) {
                steps.push_back({o, failure.fileName, "", failure.result, failure.errorCode});
            } else {
                steps.push_back({o, part.message.file_name(), std::string(part.content.begin(), part.content.end()), -1, 0});
            }
        }
    }

    std::string data;
    size_t at = 0;
    UploadReceiver receiver;
};

std::string frame(const std::string& name, int index, const std::string& content) {
    return partFrame(partMessage(name, index, content.size()), content);
}

std::string compressedFrame(const std::string& name, int index, const std::string& packed, uint64_t inflated) {
    runtime::FileSendProtos m = partMessage(name, index, packed.size());
    m.set_compression(runtime::FileSendProtos::COMPRESS_ZLIB);
    m.set_uncompressed_length(inflated);
    return partFrame(m, packed);
}

}  // namespace

TEST(UploadFrames, ReplyFrameMatchesHandWrittenBytes) {
    FileSendComplete reply;
    reply.set_file_name("a");
    reply.set_result(FileSendComplete::RESULT_OK);
    reply.set_error_code(0);
    const std::string expected("RuntimeSend:\x02\x00\x07\x00\x0a\x01\x61\x10\x00\x18\x00", 23);
    EXPECT_EQ(runtime::makeFrame(reply.SerializeAsString()), expected);
    EXPECT_EQ(runtime::makeFrame(std::string(65535, 'x')).size(), 16u + 65535);
    EXPECT_EQ(runtime::makeFrame(std::string(65536, 'x')), "");
}

TEST(UploadFrames, HandWrittenPartIsReadWholeIncludingFieldsAfterAZero) {
    // file_name "f", part_index 1, part_count 1, content_length 3, compression 0,
    // modified_time 42, then three content bytes.
    const std::string message("\x0a\x01\x66\x10\x01\x18\x01\x20\x03\x28\x00\x30\x2a", 13);
    std::string bytes = std::string("RuntimeSend:\x01\x00", 14) + static_cast<char>(message.size()) + '\0' +
                        message + "abc";
    Feed feed(bytes);
    UploadReceiver::Part part;
    UploadReceiver::Failure failure;
    ASSERT_EQ(feed.receiver.next(part, failure), Outcome::kPart);
    EXPECT_EQ(part.message.file_name(), "f");
    EXPECT_EQ(part.message.modified_time(), 42u);
    EXPECT_EQ(std::string(part.content.begin(), part.content.end()), "abc");
}

TEST(UploadFrames, SequencesOfFrames) {
    const std::string text(3000, 'z');
    const std::string packed = runtimetest::deflate(text);
    runtime::FileSendProtos badEnum = partMessage("e", 1, 1);
    std::string badEnumBytes = badEnum.SerializePartialAsString() + std::string("\x28\x07", 2);   // compression 7

    struct Case {
        const char* what;
        std::string bytes;
        std::vector<Feed::Step> steps;
    };
    const Case cases[] = {
        {"garbage before a frame is skipped 12 bytes at a time",
         std::string(24, 'g') + frame("a", 1, "x"),
         {{Outcome::kPart, "a", "x", -1, 0}}},
        {"an empty part", frame("e", 1, ""), {{Outcome::kPart, "e", "", -1, 0}}},
        {"compressed content is inflated to exactly its bytes",
         compressedFrame("c", 1, packed, text.size() + 100),
         {{Outcome::kPart, "c", text, -1, 0}}},
        {"corrupt compressed content fails; its next part is dropped; the frame after is read",
         compressedFrame("c", 1, "not zlib", 10) + frame("c", 2, "tail") + frame("d", 1, "ok"),
         {{Outcome::kFailed, "c", "", FileSendComplete::RESULT_UNCOMPRESS_ERROR, Z_DATA_ERROR},
          {Outcome::kDropped, "c", "", -1, 0},
          {Outcome::kPart, "d", "ok", -1, 0}}},
        {"an inflated length too small fails with zlib's buffer error",
         compressedFrame("s", 1, packed, 10),
         {{Outcome::kFailed, "s", "", FileSendComplete::RESULT_UNCOMPRESS_ERROR, Z_BUF_ERROR}}},
        {"a first part clears the failure",
         compressedFrame("c", 1, "bad", 1) + frame("c", 1, "again") + frame("c", 2, "more"),
         {{Outcome::kFailed, "c", "", FileSendComplete::RESULT_UNCOMPRESS_ERROR, Z_DATA_ERROR},
          {Outcome::kPart, "c", "again", -1, 0},
          {Outcome::kPart, "c", "more", -1, 0}}},
        {"an out-of-range enum leaves compression unset",
         runtime::makeFrame(badEnumBytes) + "q",
         {{Outcome::kPart, "e", "q", -1, 0}}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.what);
        std::vector<Feed::Step> steps = Feed(tc.bytes).all();
        ASSERT_EQ(steps.size(), tc.steps.size());
        for (size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].outcome, tc.steps[i].outcome) << i;
            EXPECT_EQ(steps[i].name, tc.steps[i].name) << i;
            EXPECT_EQ(steps[i].content, tc.steps[i].content) << i;
            EXPECT_EQ(steps[i].result, tc.steps[i].result) << i;
            EXPECT_EQ(steps[i].code, tc.steps[i].code) << i;
        }
    }
}

TEST(UploadFrames, OversizeClaimsFailWithoutAllocatingAndTheConnectionGoesOn) {
    const uint64_t tooBig = UploadReceiver::kMaxPartLength + 1;
    // Answered at once; the claimed bytes are then read and thrown away, never
    // allocated. Here they are not all there, which ends the connection.
    Feed claimOnly(partFrame(partMessage("big", 1, tooBig), "short"));
    std::vector<Feed::Step> steps = claimOnly.all();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].outcome, Outcome::kFailed);
    EXPECT_EQ(steps[0].result, FileSendComplete::RESULT_RECEIVE_ERROR);
    EXPECT_EQ(steps[0].code, EFBIG);

    // An inflated size over the limit fails before inflating; the next file is read.
    runtime::FileSendProtos m = partMessage("zip", 1, 4);
    m.set_compression(runtime::FileSendProtos::COMPRESS_ZLIB);
    m.set_uncompressed_length(tooBig);
    steps = Feed(partFrame(m, "abcd") + frame("zip", 2, "x") + frame("n", 1, "y")).all();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].outcome, Outcome::kFailed);
    EXPECT_EQ(steps[0].result, FileSendComplete::RESULT_RECEIVE_ERROR);
    EXPECT_EQ(steps[0].code, EFBIG);
    EXPECT_EQ(steps[1].outcome, Outcome::kDropped);
    EXPECT_EQ(steps[2].content, "y");
}

TEST(UploadFrames, TruncatedFramesEndTheConnection) {
    const std::string whole = frame("a", 1, "content");
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        EXPECT_TRUE(Feed(whole.substr(0, cut)).all().empty()) << cut;
    }
}

TEST(UploadNames, OnlyNamesInsideTheWriteFolderAreAccepted) {
    struct Case {
        std::string name;
        bool safe;
    };
    const Case cases[] = {
        {"a.lua", true},          {"src/app/main.lua", true}, {"..a/b..", true},
        {"a/./b", true},          {"", false},                {"/etc/passwd", false},
        {"\\x", false},           {"..", false},              {"../x", false},
        {"a/../../x", false},     {"a\\..\\x", false},        {"a/..", false},
        {std::string("a\0b", 3), false},
    };
    for (const Case& tc : cases) EXPECT_EQ(runtime::isSafeFileName(tc.name), tc.safe) << tc.name;
}
