#pragma once
// The Lua module "pb": the low-level pieces of the protocol buffers wire format that
// the game's Lua message code builds on.
//
// pb.varint_encoder(write, n), pb.signed_varint_encoder(write, n) and
// pb.struct_pack(write, format, n) call write(bytes) once with the encoding.
// pb.varint_decoder(s, pos), pb.signed_varint_decoder(s, pos) -> value, next pos;
// pb.read_tag(s, pos) -> the tag's bytes, next pos; pb.struct_unpack(format, s, pos)
// -> value. Positions are 0-based byte offsets. Formats are character codes: "I" and
// "i" 32-bit, "Q" and "q" 64-bit, "f" float, "d" double, all little-endian.
// pb.zig_zag_encode32/decode32/encode64/decode64(n) -> a signed 32-bit integer.
// pb.new_iostring() -> a "protobuf.IOString": a bounded buffer (at most 65535 bytes)
// with write(s), sub(first, last) (1-based, inclusive), clear(), # and tostring.
//
// Every read is checked against the string it reads from: a position outside the
// string, a value running past its end and a varint longer than 10 bytes raise a Lua
// error, as do bad arguments. Numbers are converted to integers with clamping (NaN
// gives 0).
#include <lua.hpp>

extern "C" int luaopen_pb(lua_State* L);
