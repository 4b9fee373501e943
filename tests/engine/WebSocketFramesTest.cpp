#include "engine/network/WebSocketFrames.h"
#include "engine/network/WebSocketHandshake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace ws = engine::network::ws;

namespace {

// A server frame (never masked). len: the length field as sent, when it must
// differ from the payload's size.
std::string serverFrame(uint8_t first, const std::string& payload, int64_t len = -1) {
    const uint64_t n = len < 0 ? payload.size() : static_cast<uint64_t>(len);
    std::string out(1, static_cast<char>(first));
    if (n < 126) {
        out.push_back(static_cast<char>(n));
    } else if (n <= 0xFFFF) {
        out.push_back(126);
        out.push_back(static_cast<char>(n >> 8));
        out.push_back(static_cast<char>(n & 0xFF));
    } else {
        out.push_back(127);
        for (int shift = 56; shift >= 0; shift -= 8) out.push_back(static_cast<char>((n >> shift) & 0xFF));
    }
    return out + payload;
}

std::string describe(const ws::FrameEvent& e) {
    static const char* kinds[] = {"text", "binary", "ping", "pong", "close", "error"};
    std::string text = std::string(kinds[e.kind]) + ":";
    if (e.kind == ws::FrameEvent::Close || e.kind == ws::FrameEvent::Error) text += std::to_string(e.code) + ":";
    if (e.kind != ws::FrameEvent::Error) text += e.payload;
    return text;
}

// Every event the bytes give, fed all at once and fed one byte at a time (both
// must agree).
std::vector<std::string> readAll(const std::string& bytes, size_t cap = 1000, size_t binaryCap = SIZE_MAX) {
    std::vector<std::string> whole, bytewise;
    ws::FrameReader a(cap, binaryCap), b(cap, binaryCap);
    ws::FrameEvent e;
    a.feed(bytes.data(), bytes.size());
    while (a.next(e)) whole.push_back(describe(e));
    for (char c : bytes) {
        b.feed(&c, 1);
        while (b.next(e)) bytewise.push_back(describe(e));
    }
    EXPECT_EQ(whole, bytewise);
    return whole;
}

TEST(WebSocketFrames, ServerFramesGiveWholeEvents) {
    const std::string big(300, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"text with a zero byte", serverFrame(0x81, std::string("a\0b", 3)), {std::string("text:a\0b", 8)}},
        {"empty binary", serverFrame(0x82, ""), {"binary:"}},
        {"16-bit length", serverFrame(0x82, big), {"binary:" + big}},
        {"64-bit length form", std::string("\x82\x7f\0\0\0\0\0\0\0\x03", 10) + "abc", {"binary:abc"}},
        {"fragments with a ping between",
         serverFrame(0x01, "one") + serverFrame(0x89, "p") + serverFrame(0x00, "-two-") + serverFrame(0x80, "three"),
         {"ping:p", "text:one-two-three"}},
        {"binary fragments stay binary", serverFrame(0x02, "a") + serverFrame(0x80, "b"), {"binary:ab"}},
        {"close with code and reason", serverFrame(0x88, std::string("\x0f\xa0") + "bye"), {"close:4000:bye"}},
        {"close without code", serverFrame(0x88, ""), {"close:1005:"}},
        {"pong", serverFrame(0x8A, "x"), {"pong:x"}},
        {"two messages back to back", serverFrame(0x81, "a") + serverFrame(0x81, "b"), {"text:a", "text:b"}},
        // Faults: the reader stops at the first one.
        {"masked frame", std::string("\x81\x81\0\0\0\0a", 7) + serverFrame(0x81, "b"), {"error:1002:"}},
        {"reserved bit", serverFrame(0xC1, "a"), {"error:1002:"}},
        {"unknown opcode", serverFrame(0x83, "a"), {"error:1002:"}},
        {"fragmented ping", serverFrame(0x09, "a"), {"error:1002:"}},
        {"long ping", serverFrame(0x89, std::string(126, 'p')), {"error:1002:"}},
        {"continuation first", serverFrame(0x80, "a"), {"error:1002:"}},
        {"new message inside a fragmented one", serverFrame(0x01, "a") + serverFrame(0x81, "b"), {"error:1002:"}},
        {"close of one byte", serverFrame(0x88, "x"), {"error:1002:"}},
        {"close code 1005 sent", serverFrame(0x88, "\x03\xed"), {"error:1002:"}},
        {"top bit of a 64-bit length", std::string("\x82\x7f\x80\0\0\0\0\0\0\0", 10), {"error:1002:"}},
        {"giant length announced", serverFrame(0x82, "", int64_t(1) << 40), {"error:1009:"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readAll(c.bytes), c.events);
    }
}

// Payloads large enough to be read in place, fed in pieces of several sizes
// (and, by readAll, whole and a byte at a time): the same events, byte for byte.
TEST(WebSocketFrames, LargeFramesReadInPlaceGiveTheSameEvents) {
    auto pattern = [](size_t size, unsigned seed) {
        std::string out(size, '\0');
        for (size_t i = 0; i < size; ++i) out[i] = static_cast<char>((i * 31 + seed) % 251);
        return out;
    };
    const std::string a = pattern(20000, 1), b = pattern(70000, 2), c = pattern(9000, 3);
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"16- and 64-bit lengths back to back", serverFrame(0x82, a) + serverFrame(0x81, b),
         {"binary:" + a, "text:" + b}},
        {"large then small then large", serverFrame(0x82, a) + serverFrame(0x81, "s") + serverFrame(0x81, c),
         {"binary:" + a, "text:s", "text:" + c}},
        {"large fragments with a ping between",
         serverFrame(0x01, a) + serverFrame(0x89, "p") + serverFrame(0x00, "-") + serverFrame(0x80, c),
         {"ping:p", "text:" + a + "-" + c}},
        {"a large frame past the cap after a good one", serverFrame(0x82, c) + serverFrame(0x82, b),
         {"binary:" + c, "error:1009:"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(readAll(k.bytes, 100000, 50000), k.events);
        for (size_t piece : {7u, 4096u, 65536u}) {
            ws::FrameReader reader(100000, 50000);
            ws::FrameEvent e;
            std::vector<std::string> events;
            for (size_t at = 0; at < k.bytes.size(); at += piece) {
                reader.feed(k.bytes.data() + at, std::min(piece, k.bytes.size() - at));
                while (reader.next(e)) events.push_back(describe(e));
            }
            EXPECT_EQ(events, k.events) << "pieces of " << piece;
        }
    }
}

TEST(WebSocketFrames, SizeCapCountsTheWholeMessage) {
    const size_t cap = 10;
    struct Case {
        const char* name;
        std::string bytes;
        const char* event;
    };
    const Case cases[] = {
        {"at the cap", serverFrame(0x82, std::string(10, 'a')), "binary:aaaaaaaaaa"},
        {"one past", serverFrame(0x82, std::string(11, 'a')), "error:1009:"},
        {"fragments at the cap", serverFrame(0x01, "aaaaa") + serverFrame(0x80, "bbbbb"), "text:aaaaabbbbb"},
        {"fragments one past", serverFrame(0x01, "aaaaa") + serverFrame(0x80, "bbbbbb"), "error:1009:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readAll(c.bytes, cap), std::vector<std::string>{c.event});
    }
}

TEST(WebSocketFrames, BinaryMessagesHaveTheirOwnCap) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* event;
    };
    const Case cases[] = {
        {"binary at its cap", serverFrame(0x82, "aaaa"), "binary:aaaa"},
        {"binary one past", serverFrame(0x82, "aaaaa"), "error:1009:"},
        {"binary fragments one past", serverFrame(0x02, "aa") + serverFrame(0x80, "bbb"), "error:1009:"},
        {"text keeps the larger cap", serverFrame(0x01, "aaaaa") + serverFrame(0x80, "bbbbb"), "text:aaaaabbbbb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readAll(c.bytes, 10, 4), std::vector<std::string>{c.event});
    }
}

TEST(WebSocketFrames, ClientFramesAreMaskedAndFinal) {
    const uint8_t mask[4] = {1, 2, 3, 4};
    for (size_t size : {size_t(0), size_t(125), size_t(126), size_t(65535), size_t(65536)}) {
        SCOPED_TRACE(size);
        const std::string payload(size, 'z');
        std::string frame;
        ws::appendClientFrame(frame, ws::kBinary, payload.data(), payload.size(), mask);
        ASSERT_GE(frame.size(), 6u);
        EXPECT_EQ(static_cast<unsigned char>(frame[0]), 0x82);
        EXPECT_TRUE(static_cast<unsigned char>(frame[1]) & 0x80) << "mask bit";
        const size_t header = size < 126 ? 2 : size <= 0xFFFF ? 4 : 10;
        ASSERT_EQ(frame.size(), header + 4 + size);
        EXPECT_EQ(frame.substr(header, 4), std::string("\1\2\3\4", 4));
        std::string unmasked = frame.substr(header + 4);
        for (size_t i = 0; i < unmasked.size(); ++i) unmasked[i] = static_cast<char>(unmasked[i] ^ mask[i & 3]);
        EXPECT_EQ(unmasked, payload);
    }
}

TEST(WebSocketHandshake, AddressesParse) {
    struct Case {
        const char* url;
        bool ok;
        bool secure;
        const char* host;
        int port;
        const char* target;
    };
    const Case cases[] = {
        {"ws://example.org", true, false, "example.org", 80, "/"},
        {"WSS://example.org:8443/chat?room=1#frag", true, true, "example.org", 8443, "/chat?room=1"},
        {"wss://example.org?x=1", true, true, "example.org", 443, "/?x=1"},
        {"ws://[::1]:9000/a", true, false, "::1", 9000, "/a"},
        {"http://example.org/", false, false, "", 0, ""},
        {"ws://", false, false, "", 0, ""},
        {"ws://host:0/", false, false, "", 0, ""},
        {"ws://host:65536/", false, false, "", 0, ""},
        {"ws://host:x/", false, false, "", 0, ""},
        {"ws://user@host/", false, false, "", 0, ""},
        {"ws://host/a b", false, false, "", 0, ""},
        {"example.org", false, false, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const auto address = ws::parseAddress(c.url);
        ASSERT_EQ(address.has_value(), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(address->secure, c.secure);
        EXPECT_EQ(address->host, c.host);
        EXPECT_EQ(address->port, c.port);
        EXPECT_EQ(address->target, c.target);
    }
}

TEST(WebSocketHandshake, AnswerIsChecked) {
    const std::string key = "dGhlIHNhbXBsZSBub25jZQ==";
    EXPECT_EQ(ws::acceptFor(key), "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
    const std::string good = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: WebSocket\r\nConnection: keep-alive, Upgrade\r\n"
                             "Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n";
    struct Case {
        const char* name;
        std::string head;
        std::vector<std::string> offered;
        bool ok;
        const char* protocol;
    };
    const Case cases[] = {
        {"plain", good + "\r\n", {}, true, ""},
        {"chosen sub-protocol", good + "Sec-WebSocket-Protocol: chat\r\n\r\n", {"x", "chat"}, true, "chat"},
        {"sub-protocol not offered", good + "Sec-WebSocket-Protocol: chat\r\n\r\n", {"x"}, false, ""},
        {"two sub-protocols", good + "Sec-WebSocket-Protocol: x\r\nSec-WebSocket-Protocol: y\r\n\r\n", {"x", "y"}, false, ""},
        {"status 200", "HTTP/1.1 200 OK\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n\r\n", {}, false, ""},
        {"status 1010", "HTTP/1.1 1010 X\r\n\r\n", {}, false, ""},
        {"wrong accept",
         "HTTP/1.1 101 OK\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Accept: AAAA\r\n\r\n", {}, false, ""},
        {"no accept", "HTTP/1.1 101 OK\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n\r\n", {}, false, ""},
        {"no upgrade",
         "HTTP/1.1 101 OK\r\nConnection: Upgrade\r\nSec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n\r\n", {}, false, ""},
        {"no connection",
         "HTTP/1.1 101 OK\r\nUpgrade: websocket\r\nSec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n\r\n", {}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ws::HandshakeResult result = ws::checkUpgradeAnswer(c.head, key, c.offered);
        EXPECT_EQ(result.ok, c.ok) << result.error;
        if (c.ok) {
            EXPECT_EQ(result.protocol, c.protocol);
        }
    }
    const ws::Address address = *ws::parseAddress("ws://h:81/p");
    EXPECT_EQ(ws::upgradeRequest(address, key, {"a", "", "b"}),
              "GET /p HTTP/1.1\r\nHost: h:81\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n"
              "Sec-WebSocket-Protocol: a, b\r\n\r\n");
}

}  // namespace
