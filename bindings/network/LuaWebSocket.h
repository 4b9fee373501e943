#pragma once
// "cc.WebSocket": the engine's WebSocket client for scripts, with Lua functions
// as its event handlers.
//
// The native object is the socket and its own delegate. A script registers a
// handler per type (0 open, 1 message, 2 close, 3 error: kinds 16 + type in the
// script handler registry); another type files nothing and keeps no reference.
// On the main thread:
// - open, close: the handler gets one argument, "";
// - a text message: one string, its exact bytes (zero bytes included);
// - a binary message: one array of byte values 0..255 (an empty table for an
//   empty message); one larger than kMaxByteArrayBytes ends the connection
//   (close code 1009, then the close handler);
// - an error calls nothing (the close that follows does).
// Each callback leaves the Lua stack as it found it. sendString sends a string
// without zero bytes as text, any other as binary, whole.
//
// The script owns the object: collecting its userdata removes its handlers and
// destroys the socket, which ends the connection; nothing is called after that.
// Main thread only.
#include <lua.hpp>

#include "engine/network/WebSocket.h"

namespace bindings {

class LuaWebSocket : public engine::network::WebSocket, public engine::network::WebSocket::Delegate {
public:
    ~LuaWebSocket() override;

    void onOpen(engine::network::WebSocket* ws) override;
    void onMessage(engine::network::WebSocket* ws, const engine::network::WebSocket::Data& data) override;
    void onClose(engine::network::WebSocket* ws) override;
    void onError(engine::network::WebSocket* ws, const engine::network::WebSocket::ErrorCode& error) override;
};

// The network module's pieces, in their registration order.
int register_websocket_class(lua_State* L);
// Adds registerScriptHandler and unregisterScriptHandler to "cc.WebSocket"
// (nothing when that class is not registered).
int register_websocket_handler_methods(lua_State* L);

}  // namespace bindings
