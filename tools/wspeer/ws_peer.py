#!/usr/bin/python3
"""A local WebSocket peer for tests and fixture projects.

Serves ws (or wss with --cert/--key) on loopback. Every message is echoed back
as it came (text as text, binary as binary), except text commands:

  "cmd:ping:<data>"     sends a ping with <data>; once the pong is back, sends
                        the text "pong:<data>"
  "cmd:close:<code>"    closes the connection with that code (reason "bye")
  "cmd:big:<n>"         sends a binary message of n bytes (0xAB each)
  "cmd:fragments"       sends the text "one-two-three" in three fragments
  "cmd:drop"            drops the TCP connection without a close frame
  "cmd:protocol"        answers the text "protocol:<chosen sub-protocol or none>"

Sub-protocols "chat" and "echo" are accepted.
The ready file (JSON {"port": N}) is written once the listener is up. With
--parent PID the peer ends when that process is gone.

Runs on /usr/bin/python3 with Debian's python3-websockets.
"""
import argparse
import asyncio
import json
import os
import ssl
import sys

import websockets


async def handle(ws, path=None):
    try:
        async for message in ws:
            if isinstance(message, str) and message.startswith("cmd:"):
                await command(ws, message[4:])
            else:
                await ws.send(message)
    except websockets.ConnectionClosed:
        pass


async def command(ws, text):
    name, _, arg = text.partition(":")
    if name == "ping":
        waiter = await ws.ping(arg.encode())
        await waiter
        await ws.send("pong:" + arg)
    elif name == "close":
        await ws.close(code=int(arg), reason="bye")
    elif name == "big":
        await ws.send(b"\xab" * int(arg))
    elif name == "fragments":
        await ws.send(["one", "-two-", "three"])
    elif name == "drop":
        ws.transport.abort()
    elif name == "protocol":
        await ws.send("protocol:" + (ws.subprotocol or "none"))
    else:
        await ws.send("unknown command: " + name)


async def watch_parent(pid):
    while True:
        await asyncio.sleep(0.5)
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            os._exit(0)


async def main(args):
    context = None
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
    server = await websockets.serve(handle, "127.0.0.1", args.port, ssl=context, max_size=None,
                                    compression=None, subprotocols=["chat", "echo"])
    port = server.sockets[0].getsockname()[1]
    if args.ready:
        temp = args.ready + ".part"
        with open(temp, "w") as out:
            json.dump({"port": port}, out)
        os.replace(temp, args.ready)
    else:
        print(port, flush=True)
    if args.parent:
        asyncio.ensure_future(watch_parent(args.parent))
    await asyncio.Future()


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="0: any free port")
    parser.add_argument("--cert", help="certificate for wss")
    parser.add_argument("--key", help="its key")
    parser.add_argument("--ready", help="file written once the listener is up")
    parser.add_argument("--parent", type=int, help="end when this process is gone")
    try:
        asyncio.run(main(parser.parse_args()))
    except KeyboardInterrupt:
        sys.exit(0)
