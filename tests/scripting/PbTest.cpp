// The "pb" wire module: encodings against known bytes, decoders on truncated and
// oversized input, zigzag coding and the bounded IOString buffer.
#include <gtest/gtest.h>

#include "LuaTestState.h"
#include "scripting/pb/LuaPb.h"

namespace {

// Helpers in Lua: hex(s), bytes(hex) and emit(f, ...) that returns what f wrote as hex.
const char* kPrelude = R"(
function hex(s) return (s:gsub('.', function(c) return string.format('%02x', c:byte()) end)) end
function bytes(h) return (h:gsub('..', function(x) return string.char(tonumber(x, 16)) end)) end
function emit(f, ...)
    local out = {}
    f(function(s) out[#out + 1] = s end, ...)
    return hex(table.concat(out))
end
)";

struct Case {
    const char* expression;
    const char* expected;   // for errors "error: " and a part of the message
};

class PbTest : public ::testing::Test {
protected:
    void SetUp() override {
        luaopen_pb(lua.L);
        lua_settop(lua.L, 0);
        ASSERT_EQ(lua.run(kPrelude), "");
    }

    // The result of a Lua expression as text ("a, b" for two results), or "error: ..."
    // with the message.
    std::string eval(const std::string& expression) {
        std::string chunk = "local r = {pcall(function() return " + expression +
                            " end)} if not r[1] then return 'error: ' .. tostring(r[2]) end "
                            "local parts = {} for i = 2, #r do parts[#parts + 1] = tostring(r[i]) end "
                            "return table.concat(parts, ', ')";
        if (luaL_loadstring(lua.L, chunk.c_str()) != 0 || lua_pcall(lua.L, 0, 1, 0) != 0) {
            std::string message = lua_tostring(lua.L, -1);
            lua_settop(lua.L, 0);
            return "chunk failed: " + message;
        }
        std::string text = lua_tostring(lua.L, -1);
        lua_settop(lua.L, 0);
        return text;
    }

    void expectCases(const Case* begin, const Case* end) {
        for (const Case* c = begin; c != end; ++c) {
            std::string got = eval(c->expression);
            std::string expected = c->expected;
            if (expected.rfind("error: ", 0) == 0) {
                EXPECT_EQ(got.rfind("error: ", 0), 0u) << c->expression << " gave " << got;
                EXPECT_NE(got.find(expected.substr(7)), std::string::npos) << c->expression << " gave " << got;
            } else {
                EXPECT_EQ(got, expected) << c->expression;
            }
        }
    }

    LuaTestState lua;
};

#define EXPECT_CASES(cases) expectCases(std::begin(cases), std::end(cases))

TEST_F(PbTest, ModuleShape) {
    EXPECT_EQ(eval("pb == package.loaded.pb"), "true");
    EXPECT_EQ(eval("(function() local n = 0 for _ in pairs(pb) do n = n + 1 end return n end)()"), "12");
    EXPECT_EQ(eval("getmetatable(pb.new_iostring()).__index == getmetatable(pb.new_iostring())"), "true");
    EXPECT_EQ(eval("getmetatable(pb.new_iostring()) == debug.getregistry()['protobuf.IOString']"), "true");
}

TEST_F(PbTest, EncodersWriteKnownBytes) {
    const Case cases[] = {
        {"emit(pb.varint_encoder, 0)", "00"},
        {"emit(pb.varint_encoder, 1)", "01"},
        {"emit(pb.varint_encoder, 127)", "7f"},
        {"emit(pb.varint_encoder, 300)", "ac02"},
        {"emit(pb.varint_encoder, -1)", "ffffffffffffffffff01"},
        {"emit(pb.varint_encoder, 2^63)", "80808080808080808001"},
        {"emit(pb.varint_encoder, 2^70)", "ffffffffffffffffff01"},   // clamped
        {"emit(pb.varint_encoder, 0/0)", "00"},
        {"emit(pb.varint_encoder, 1.9)", "01"},
        {"emit(pb.signed_varint_encoder, 150)", "9601"},
        {"emit(pb.signed_varint_encoder, -2)", "feffffffffffffffff01"},
        {"emit(pb.signed_varint_encoder, -2^70)", "80808080808080808001"},   // clamped to -2^63
        {"emit(pb.struct_pack, 73, 1)", "01000000"},
        {"emit(pb.struct_pack, 73, 2^32 + 5)", "05000000"},
        {"emit(pb.struct_pack, 73, -1)", "ffffffff"},
        {"emit(pb.struct_pack, 105, -2)", "feffffff"},
        {"emit(pb.struct_pack, 105, 2^40)", "ffffff7f"},   // clamped to the 32-bit range
        {"emit(pb.struct_pack, 81, 2^63)", "0000000000000080"},
        {"emit(pb.struct_pack, 113, -1)", "ffffffffffffffff"},
        {"emit(pb.struct_pack, 102, 1.5)", "0000c03f"},
        {"emit(pb.struct_pack, 100, 1.5)", "000000000000f83f"},
        {"emit(pb.struct_pack, 256 + 73, 1)", "01000000"},   // only the low byte selects
        {"emit(pb.struct_pack, 120, 1)", "error: Unknown, format"},
        {"emit(pb.varint_encoder, 'x')", "error: bad argument #2"},
    };
    EXPECT_CASES(cases);
}

TEST_F(PbTest, WriteIsCalledWithTheStackCutBackToIt) {
    EXPECT_EQ(eval("(function() local n, got = 0 "
                   "pb.varint_encoder(function(...) n = select('#', ...) got = ... end, 300, 'extra', {}) "
                   "return n .. ':' .. hex(got) end)()"),
              "1:ac02");
}

TEST_F(PbTest, DecodersReadKnownBytes) {
    const Case cases[] = {
        {"pb.varint_decoder(bytes('ac02'), 0)", "300, 2"},
        {"pb.varint_decoder(bytes('00ac02'), 1)", "300, 3"},
        {"pb.varint_decoder(bytes('ffffffffffffffffff01'), 0)", "1.844674407371e+19, 10"},
        {"pb.signed_varint_decoder(bytes('ffffffffffffffffff01'), 0)", "-1, 10"},
        {"pb.signed_varint_decoder(bytes('9601'), 0)", "150, 2"},
        {"hex((pb.read_tag(bytes('089601'), 0))) .. ' ' .. select(2, pb.read_tag(bytes('089601'), 0))", "08 1"},
        {"hex((pb.read_tag(bytes('089601'), 1))) .. ' ' .. select(2, pb.read_tag(bytes('089601'), 1))", "9601 3"},
        {"pb.struct_unpack(73, bytes('ffffffff'), 0)", "4294967295"},
        {"pb.struct_unpack(105, bytes('feffffff'), 0)", "-2"},
        {"math.type and 0 or pb.struct_unpack(105, bytes('00feffffff'), 1)", "-2"},
        {"pb.struct_unpack(81, bytes('0000000000000080'), 0)", "9.2233720368548e+18"},
        {"pb.struct_unpack(113, bytes('feffffffffffffff'), 0)", "-2"},
        {"pb.struct_unpack(102, bytes('0000c03f'), 0)", "1.5"},
        {"pb.struct_unpack(100, bytes('000000000000f83f'), 0)", "1.5"},
        {"pb.struct_unpack(120, bytes('00000000'), 0)", "error: Unknown, format"},
    };
    EXPECT_CASES(cases);
}

TEST_F(PbTest, TruncatedAndOversizedInputsFailCleanly) {
    const Case cases[] = {
        {"pb.varint_decoder(bytes('80'), 0)", "error: error data"},
        {"pb.varint_decoder(bytes('ff80'), 0)", "error: error data"},
        {"pb.varint_decoder('', 0)", "error: error data"},
        {"pb.varint_decoder(bytes('01'), 1)", "error: error data"},   // at the end: nothing to read
        {"pb.read_tag(bytes('80'), 0)", "error: error data"},
        {"pb.signed_varint_decoder(bytes('8080808080808080808001'), 0)", "error: error data"},   // 11 bytes
        {"pb.varint_decoder(bytes('01'), 2)", "error: position out of range"},
        {"pb.varint_decoder(bytes('01'), -1)", "error: position out of range"},
        {"pb.read_tag(bytes('01'), 2^40)", "error: position out of range"},
        {"pb.struct_unpack(73, bytes('010000'), 0)", "error: runs past the end"},
        {"pb.struct_unpack(100, bytes('0000000000000000'), 1)", "error: runs past the end"},
        {"pb.struct_unpack(73, bytes('01000000'), 5)", "error: position out of range"},
        {"pb.struct_unpack(73, bytes('01000000'), -4)", "error: position out of range"},
        {"pb.varint_decoder(nil, 0)", "error: bad argument #1"},
        {"pb.struct_unpack(73, 5)", "error: bad argument #3"},
    };
    EXPECT_CASES(cases);
}

TEST_F(PbTest, ZigZagResultsAreSigned32Bit) {
    const Case cases[] = {
        {"pb.zig_zag_encode32(-1)", "1"},
        {"pb.zig_zag_encode32(1)", "2"},
        {"pb.zig_zag_encode32(2147483647)", "-2"},
        {"pb.zig_zag_encode32(-2147483648)", "-1"},
        {"pb.zig_zag_decode32(3)", "-2"},
        {"pb.zig_zag_decode32(4)", "2"},
        {"pb.zig_zag_decode32(4294967295)", "-2147483648"},
        {"pb.zig_zag_encode64(-1)", "1"},
        {"pb.zig_zag_encode64(2^31)", "0"},    // 2^32: its low 32 bits
        {"pb.zig_zag_encode64(2^40)", "0"},
        {"pb.zig_zag_decode64(3)", "-2"},
        {"pb.zig_zag_decode64(2^33 + 1)", "-1"},   // -(2^32 + 1): low 32 bits
        {"pb.zig_zag_decode64(0/0)", "0"},
        {"pb.zig_zag_encode32('x')", "error: bad argument #1"},
    };
    EXPECT_CASES(cases);
}

TEST_F(PbTest, IOStringIsBoundedAndSubChecksItsRange) {
    ASSERT_EQ(lua.run("io = pb.new_iostring() io:write('abc') io:write('') io:write('de')"), "");
    const Case cases[] = {
        {"#io", "5"},
        {"tostring(io)", "abcde"},
        {"io:sub(1, #io)", "abcde"},
        {"io:sub(2, 3)", "bc"},
        {"io:sub(5, 5)", "e"},
        {"io:sub(2, 1)", "error: Out of range"},
        {"io:sub(0, 1)", "error: Out of range"},
        {"io:sub(1, 6)", "error: Out of range"},
        {"io:sub(-1, 2)", "error: Out of range"},
        {"io.sub({}, 1, 1)", "error: bad argument #1"},
        {"io:write(5) or #io", "6"},   // a number writes its text
        {"io:write({})", "error: string expected, got table"},
    };
    EXPECT_CASES(cases);
}

TEST_F(PbTest, IOStringHoldsAtMost65535Bytes) {
    ASSERT_EQ(lua.run("io = pb.new_iostring() io:write(string.rep('x', 65534))"), "");
    const Case cases[] = {
        {"io:write('yz')", "error: Out of range"},
        {"#io", "65534"},   // a refused write changes nothing
        {"io:write('y') or #io", "65535"},
        {"io:write('z')", "error: Out of range"},
        {"io:sub(65535, 65535)", "y"},
        {"io:clear() or #io", "0"},
        {"tostring(io)", ""},
        {"io:write(string.rep('x', 65536))", "error: Out of range"},
        {"#io", "0"},
    };
    EXPECT_CASES(cases);
}

TEST_F(PbTest, EncodeDecodeRoundTrip) {
    EXPECT_EQ(eval("(function() "
                   "local values = {0, 1, 127, 128, 300, 16383, 16384, 2^31, 2^32 - 1, 2^53} "
                   "for _, v in ipairs(values) do "
                   "  local out = {} pb.varint_encoder(function(s) out[#out + 1] = s end, v) "
                   "  local s = table.concat(out) "
                   "  local got, pos = pb.varint_decoder(s, 0) "
                   "  if got ~= v or pos ~= #s then return 'mismatch at ' .. v end "
                   "  out = {} pb.signed_varint_encoder(function(s) out[#out + 1] = s end, -v) "
                   "  got = pb.signed_varint_decoder(table.concat(out), 0) "
                   "  if got ~= -v then return 'signed mismatch at ' .. v end "
                   "end return 'ok' end)()"),
              "ok");
}

}  // namespace
