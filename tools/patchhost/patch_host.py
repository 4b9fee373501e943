#!/usr/bin/env python3
"""Local HTTPS patch host for the tests and the demo.

Serves the files of one folder on one or more ports (every port serves the same
folder). GET, HEAD, and POST, PUT and DELETE (answered as GET once the body is
read); "Range: bytes=N-" gives 206 (or 416 past the end).

Faults come from a JSON file that is read again whenever it changes:

    {"18443": {"/list.json": {"status": 500, "body": "x"}},
     "*":     {"/pkg.zip": {"close_after": 1000, "delay": 0.5, "throttle": 2000}}}

The outer key is a port or "*" (every port), the inner key a path or "*" (every
path). The first entry found in the order (port, path), (port, "*"), ("*", path),
("*", "*") applies. Its fields:
    delay        seconds to wait before answering
    status       answer with this status and "body" (default empty) instead of the file
    close_after  send the headers and this many body bytes, then drop the connection
    throttle     send the body at this many bytes per second
    times        the fault applies to this many requests only (counted from the
                 moment the fault table was last changed), then the next entry
                 in the order above applies
    headers      extra response headers, a list of [name, value] pairs (a
                 Content-Type among them replaces the host's own: "text/html"
                 for "/" and paths ending in .html, .shtml or .php, else
                 "application/octet-stream")
    pad          this many blanks follow the body (counted in Content-Length): a
                 reply or a package longer than it should be (sent in pieces, so a
                 large pad costs the host no memory; throttle and close_after
                 apply to body and pad together)
    no_length    true: no Content-Length; the end of the connection ends the body

Each request is logged as one JSON line {"port", "path", "range", "method",
"headers", "body"} (range is null without a Range header; headers a list of
[name, value] pairs as received; body the request body as UTF-8 text). A port of
0 takes any free port. The ready file is written once every listener is up:
{"pid": ..., "ports": [...]} with the ports in the order given. A port that is
taken ends the host with "port N in use" on stderr and exit status 3.
SIGTERM or SIGINT stops the host; so does the end of the --parent process, so that
a test that crashes does not leave the ports taken.
"""

import argparse
import errno
import json
import os
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HANDSHAKE_TIMEOUT = 10.0
IDLE_TIMEOUT = 30.0


class Faults:
    """The fault table, reloaded when its file changes."""

    def __init__(self, path):
        self._path = path
        self._lock = threading.Lock()
        self._stamp = None
        self._table = {}
        self._used = {}

    def _current(self):
        if not self._path:
            return {}
        with self._lock:
            try:
                st = os.stat(self._path)
                stamp = (st.st_mtime_ns, st.st_size, st.st_ino)
            except OSError:
                stamp = None
            if stamp != self._stamp:
                self._stamp = stamp
                self._table = {}
                self._used = {}
                if stamp is not None:
                    try:
                        with open(self._path, "rb") as f:
                            table = json.loads(f.read().decode("utf-8") or "{}")
                        if isinstance(table, dict):
                            self._table = table
                    except (OSError, ValueError) as e:
                        sys.stderr.write("patch_host: faults file ignored: %s\n" % e)
            return self._table

    def lookup(self, port, path):
        table = self._current()
        for port_key, path_key in ((str(port), path), (str(port), "*"), ("*", path), ("*", "*")):
            entry = table.get(port_key)
            if isinstance(entry, dict):
                fault = entry.get(path_key)
                if isinstance(fault, dict) and self._take(port_key, path_key, fault):
                    return fault
        return {}

    def _take(self, port_key, path_key, fault):
        """False once a fault with "times" is spent."""
        if "times" not in fault:
            return True
        with self._lock:
            used = self._used.get((port_key, path_key), 0)
            if used >= int(fault["times"]):
                return False
            self._used[(port_key, path_key)] = used + 1
            return True


class RequestLog:
    def __init__(self, path):
        self._lock = threading.Lock()
        self._file = open(path, "a", encoding="utf-8") if path else None

    def write(self, port, path, range_header, method="GET", headers=(), body=b""):
        if not self._file:
            return
        line = json.dumps({"port": port, "path": path, "range": range_header, "method": method,
                           "headers": [list(h) for h in headers],
                           "body": body.decode("utf-8", errors="replace")})
        with self._lock:
            self._file.write(line + "\n")
            self._file.flush()

    def close(self):
        if self._file:
            self._file.close()


class PatchServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, root, context, faults, log):
        self.port = port
        self.root = root
        self.context = context
        self.faults = faults
        self.log = log
        super().__init__(("127.0.0.1", port), Handler)

    def get_request(self):
        # Accept only; the handshake happens in the connection's own thread so that
        # a client that never speaks holds up nobody else.
        sock, addr = self.socket.accept()
        try:
            tls = self.context.wrap_socket(sock, server_side=True, do_handshake_on_connect=False)
        except (OSError, ssl.SSLError):
            sock.close()
            raise
        return tls, addr

    def finish_request(self, request, client_address):
        try:
            request.settimeout(HANDSHAKE_TIMEOUT)
            request.do_handshake()
        except (OSError, ssl.SSLError):
            return  # refused certificate, silent or vanished client
        super().finish_request(request, client_address)

    def handle_error(self, request, client_address):
        exc = sys.exc_info()[1]
        if isinstance(exc, (OSError, ssl.SSLError)):
            return  # the client went away
        sys.stderr.write("patch_host: %r while serving %s\n" % (exc, client_address))


# Pages a web view shows (the tests' portal); everything else is bytes.
PAGE_SUFFIXES = (".html", ".shtml", ".php")


def content_type(request_path):
    path = urllib.parse.urlsplit(request_path).path
    if path == "/" or path.endswith(PAGE_SUFFIXES):
        return "text/html; charset=utf-8"
    return "application/octet-stream"


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = IDLE_TIMEOUT

    def version_string(self):
        return "VexoPatchHost/1"

    def log_message(self, format, *args):  # keep the test output clean
        pass

    def do_GET(self):
        self._serve(with_body=True)

    def do_HEAD(self):
        self._serve(with_body=False)

    def do_POST(self):
        length = self.headers.get("Content-Length", "0")
        body = self.rfile.read(int(length)) if length.isdigit() else b""
        self._serve(with_body=True, body=body)

    do_PUT = do_POST
    do_DELETE = do_POST

    def _serve(self, with_body, body=b""):
        self.close_connection = True
        server = self.server
        path = urllib.parse.urlsplit(self.path).path
        range_header = self.headers.get("Range")
        server.log.write(server.port, path, range_header, self.command, self.headers.items(), body)

        fault = server.faults.lookup(server.port, path)
        delay = float(fault.get("delay", 0) or 0)
        if delay > 0:
            time.sleep(delay)

        if "status" in fault:
            body = str(fault.get("body", "")).encode("utf-8")
            self._answer(int(fault["status"]), [], body, with_body, fault)
            return

        file_path = self._resolve(path)
        if file_path is None:
            self._answer(404, [], b"not found\n", with_body, fault)
            return
        with open(file_path, "rb") as f:
            data = f.read()
        size = len(data)

        start = self._range_start(range_header)
        if start is None:
            self._answer(200, [], data, with_body, fault)
        elif start >= size:
            self._answer(416, [("Content-Range", "bytes */%d" % size)], b"", with_body, fault)
        else:
            headers = [("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))]
            self._answer(206, headers, data[start:], with_body, fault)

    def _resolve(self, url_path):
        """The file under the root for a URL path ("index.html" for a folder's), or None
        (missing, a folder, or outside)."""
        relative = urllib.parse.unquote(url_path).lstrip("/")
        if relative == "" or relative.endswith("/"):
            relative += "index.html"
        if "\0" in relative:
            return None
        root = os.path.realpath(self.server.root)
        full = os.path.realpath(os.path.join(root, relative))
        if os.path.commonpath([root, full]) != root or not os.path.isfile(full):
            return None
        return full

    @staticmethod
    def _range_start(header):
        """N of "bytes=N-"; None when absent or in any other form (served whole)."""
        if not header:
            return None
        value = header.strip()
        if not value.startswith("bytes=") or not value.endswith("-"):
            return None
        digits = value[len("bytes="):-1].strip()
        return int(digits) if digits.isdigit() else None

    def _answer(self, status, headers, body, with_body, fault):
        pad = max(0, int(fault.get("pad", 0) or 0))
        self.send_response(status)
        extra = fault.get("headers")
        if isinstance(extra, list):
            headers = headers + [tuple(h) for h in extra if isinstance(h, list) and len(h) == 2]
        for name, value in headers:
            self.send_header(name, value)
        if not any(name.lower() == "content-type" for name, _ in headers):
            self.send_header("Content-Type", content_type(self.path))
        if not fault.get("no_length"):
            self.send_header("Content-Length", str(len(body) + pad))
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Connection", "close")
        self.end_headers()
        if not with_body:
            return

        close_after = fault.get("close_after")
        limit = len(body) + pad
        if close_after is not None:
            limit = min(limit, max(0, int(close_after)))
        throttle = float(fault.get("throttle", 0) or 0)
        piece_size = max(1, int(throttle / 20)) if throttle > 0 else 64 * 1024
        for piece in self._pieces(body, pad, limit, piece_size):
            self.wfile.write(piece)
            if throttle > 0:
                self.wfile.flush()
                time.sleep(len(piece) / throttle)
        self.wfile.flush()

        if close_after is not None:
            # Drop the connection without a TLS close: the client sees a short body.
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    @staticmethod
    def _pieces(body, pad, limit, size):
        """The first `limit` bytes of body followed by `pad` blanks, in pieces of `size`."""
        blanks = b" " * size
        offset = 0
        while offset < limit:
            n = min(size, limit - offset)
            if offset < len(body):
                piece = body[offset:offset + n]
                if len(piece) < n:
                    piece += blanks[:n - len(piece)]
            else:
                piece = blanks[:n]
            yield piece
            offset += n


def main():
    parser = argparse.ArgumentParser(description="Local HTTPS patch host")
    parser.add_argument("--root", required=True, help="folder served")
    parser.add_argument("--ports", default="18443,18444",
                        help="comma-separated ports (0: any free port)")
    parser.add_argument("--cert", required=True, help="server certificate (PEM)")
    parser.add_argument("--key", required=True, help="server key (PEM)")
    parser.add_argument("--faults", help="JSON fault table, re-read when it changes")
    parser.add_argument("--log", help="request log, one JSON line per request")
    parser.add_argument("--ready", help="file written once every listener is up")
    parser.add_argument("--parent", type=int, help="stop when this process (our parent) ends")
    args = parser.parse_args()

    ports = [int(p) for p in args.ports.split(",") if p.strip()]
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)

    stop = threading.Event()

    def on_signal(signum, frame):
        stop.set()

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)

    faults = Faults(args.faults)
    log = RequestLog(args.log)
    servers = []
    for port in ports:
        try:
            servers.append(PatchServer(port, args.root, context, faults, log))
        except OSError as e:
            if e.errno == errno.EADDRINUSE:
                sys.stderr.write("patch_host: port %d in use\n" % port)
                return 3
            raise
        if port == 0:
            servers[-1].port = servers[-1].server_address[1]
    threads = [threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True)
               for s in servers]
    for t in threads:
        t.start()

    if args.ready:
        temp = args.ready + ".part"
        with open(temp, "w") as f:
            json.dump({"pid": os.getpid(), "ports": [s.port for s in servers]}, f)
        os.replace(temp, args.ready)

    while not stop.wait(0.05):
        if args.parent and os.getppid() != args.parent:
            break  # orphaned: the parent is gone

    for s in servers:
        s.shutdown()
        s.server_close()
    log.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
