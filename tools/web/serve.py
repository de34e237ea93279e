# SPDX-License-Identifier: MIT
"""Serves the built page's folder, read only, until Ctrl+C or SIGTERM.

    serve.py <folder> <port>      serve; prints the addresses once the port is bound
    serve.py --check <port>       only says whether the port can be served on (exit 0 or 1)

HOST (default 127.0.0.1) is the address to listen on; HOST=0.0.0.0 listens on every interface and
prints each address another device could open. Port 0 takes any free port. IDLE (default 30) is
how many seconds a connection may sit idle before it is closed.

Slow clients: at most 256 connections are answered at once (the others wait, their requests read,
or in the queue of connections not yet accepted); a request head must arrive in full within 10 s
of its first byte; the soft limit of open files is raised to the hard one at start, and when the
connections use up the files, the one that has waited longest for its request is closed for a new
one. Failed requests are told on standard error at most once a second, with a count of those left
out.

What it sends: the best pre-compressed copy (<file>.br, <file>.gz) the browser accepts; files
whose names carry a content hash with a year's immutable caching, everything else revalidated
(no-cache); an ETag on everything, answering If-None-Match with 304; byte ranges of the
uncompressed file. Nothing whose real path, links resolved, lies outside the folder.
"""
import email.utils
import errno
import fcntl
import hashlib
import http.server
import io
import mimetypes
import os
import queue
import re
import resource
import selectors
import socket
import struct
import sys
import threading
import time
import urllib.parse

# name.0123456789ab.ext: the build names every file but the page and the service worker so.
HASHED = re.compile(r"\.[0-9a-f]{12}\.[A-Za-z0-9]+$")
IMMUTABLE = "public, max-age=31536000, immutable"
TYPES = {
    ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8", ".json": "application/json",
    ".webmanifest": "application/manifest+json", ".wasm": "application/wasm",
    ".data": "application/octet-stream", ".woff2": "font/woff2", ".ogg": "audio/ogg",
    ".png": "image/png", ".svg": "image/svg+xml", ".ico": "image/x-icon",
}
# Best first.
ENCODINGS = (("br", ".br"), ("gzip", ".gz"))
# A burst of page loads on a network must not overflow the queue of connections not yet accepted.
BACKLOG = 128
# No offset of a real file is longer; a longer number is past the end of any file.
MAX_DIGITS = 18
# Where the path of an open file can be read back (Linux).
PROC_FDS = os.path.isdir("/proc/self/fd")
# Connections answered at once; more wait for a free place.
SERVING = 256
# Seconds a request head may take to arrive in full, from its first byte.
HEAD_SECONDS = 10
# The longest request head read; a longer one is answered 431.
HEAD_LIMIT = 64 * 1024
# Open files kept free for the files being sent and the server's own.
SPARE_FILES = 64


class Refused(Exception):
    """The port cannot be served on; the message says why, in one line."""


def parse_port(text):
    if not re.fullmatch(r"[0-9]{1,5}", text or "") or int(text) > 65535:
        raise Refused(f"port {text!r} is not a number from 1 to 65535")
    return int(text)


def parse_idle(text):
    if not re.fullmatch(r"[0-9]{1,5}(\.[0-9]{1,3})?", text) or float(text) <= 0:
        raise Refused(f"IDLE {text!r} is not a number of seconds above 0")
    return float(text)


def bind(host, port):
    family = socket.AF_INET6 if ":" in host else socket.AF_INET
    server_class = type("Server", (Server,), {"address_family": family})
    try:
        return server_class((host, port), Handler)
    except OSError as e:
        if e.errno == errno.EADDRINUSE:
            reason = "it is already in use (PORT=... picks another)"
        elif e.errno == errno.EACCES:
            reason = "this user may not listen on it (ports below 1024 need root)"
        elif e.errno in (errno.EADDRNOTAVAIL, socket.EAI_NONAME) or isinstance(e, socket.gaierror):
            reason = f"{host} is not an address of this machine"
        else:
            reason = e.strerror or str(e)
        raise Refused(f"port {port} cannot be served on: {reason}") from None


def local_addresses():
    """The IPv4 addresses of this machine's interfaces, loopback first."""
    found = []
    probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    try:
        for _, name in socket.if_nameindex():
            try:
                packed = fcntl.ioctl(probe.fileno(), 0x8915,  # SIOCGIFADDR
                                     struct.pack("256s", name.encode()[:15]))
            except OSError:
                continue  # down, or no IPv4 address
            found.append(socket.inet_ntoa(packed[20:24]))
    finally:
        probe.close()
    return sorted(set(found), key=lambda a: (not a.startswith("127."), a))


class Failures:
    """Failed requests on standard error, at most one line a second: a client that fails on purpose
    must not fill the disk. The next line counts the ones left out."""

    def __init__(self):
        self.lock = threading.Lock()
        self.last = None
        self.left_out = 0

    def tell(self, line):
        with self.lock:
            now = time.monotonic()
            if self.last is not None and now - self.last < 1.0:
                self.left_out += 1
                return
            if self.left_out:
                line += f" (and {self.left_out} more failed requests not shown)"
            self.last, self.left_out = now, 0
        print(f"pelmoravan: {line}", file=sys.stderr, flush=True)

    def flush(self):
        with self.lock:
            n, self.left_out = self.left_out, 0
        if n:
            print(f"pelmoravan: {n} more failed requests not shown", file=sys.stderr, flush=True)


FAILURES = Failures()


class Workers:
    """Up to SERVING threads, made as needed, that answer the connections handed to them in turn."""

    def __init__(self, most):
        self.jobs = queue.SimpleQueue()
        self.lock = threading.Lock()
        self.most = most
        self.count = 0
        self.idle = 0

    def submit(self, job):
        with self.lock:
            if self.idle > 0:
                self.idle -= 1
            elif self.count < self.most:
                self.count += 1
                threading.Thread(target=self.run, daemon=True).start()
        self.jobs.put(job)

    def run(self):
        while True:
            self.jobs.get()()
            with self.lock:
                self.idle += 1


class Waiting:
    """A connection whose request head has not arrived in full yet."""

    def __init__(self, address, data, now):
        self.address = address
        self.data = data
        self.since = now  # accepted, or its last answer sent
        self.first = now if data else None  # the first byte of this head

    def deadline(self, idle):
        return self.since + idle if self.first is None else self.first + HEAD_SECONDS


def head_end(data):
    """Where the request head in data ends (after its blank line), or None."""
    ends = [i + len(m) for m in (b"\r\n\r\n", b"\n\n") if (i := data.find(m)) >= 0]
    return min(ends) if ends else None


class Server(http.server.HTTPServer):
    """Reads request heads on one thread, many connections at once, and hands each whole head to a
    worker: a client that sends its request slowly holds a file, never a worker."""
    request_queue_size = BACKLOG

    def serve_forever(self, poll_interval=None):
        soft = resource.getrlimit(resource.RLIMIT_NOFILE)[0]
        most_open = max(16, (soft if soft != resource.RLIM_INFINITY else 1 << 16) - SPARE_FILES)
        idle = Handler.timeout
        workers = Workers(SERVING)
        returned = queue.SimpleQueue()  # (connection, rest of its bytes or None when closed)
        wake_r, wake_w = os.pipe()
        os.set_blocking(wake_r, False)
        os.set_blocking(wake_w, False)
        selector = selectors.DefaultSelector()
        selector.register(wake_r, selectors.EVENT_READ, "wake")
        self.socket.setblocking(False)
        listening = False
        waiting = {}
        serving = 0

        def close(conn):
            selector.unregister(conn)
            del waiting[conn]
            conn.close()

        def answer(conn, address, head, rest):
            keep = False
            try:
                keep = Handler(conn, address, self, head).keep_open
            except Exception:
                self.handle_error(conn, address)
            if not keep:
                try:
                    conn.close()
                except OSError:
                    pass
            returned.put((conn, address, rest if keep else None))
            try:
                os.write(wake_w, b"x")
            except BlockingIOError:
                pass  # the loop is woken already

        def take(conn):
            """Hands the connection to a worker once its head is in; False when it was closed."""
            w = waiting[conn]
            end = head_end(w.data.lstrip(b"\r\n"))
            if end is None:
                if len(w.data) > HEAD_LIMIT:
                    refuse(conn, 431, "Request Header Fields Too Large")
                    return False
                return True
            data = w.data.lstrip(b"\r\n")
            selector.unregister(conn)
            del waiting[conn]
            nonlocal serving
            serving += 1
            workers.submit(lambda: answer(conn, w.address, data[:end], data[end:]))
            return False

        def refuse(conn, status, reason):
            FAILURES.tell(f"request from {waiting[conn].address[0]} failed: {status} {reason}")
            try:
                conn.send(f"HTTP/1.1 {status} {reason}\r\nContent-Length: 0\r\nConnection: close\r\n\r\n".encode())
            except OSError:
                pass
            close(conn)

        try:
            while True:
                now = time.monotonic()
                # Accepting while there is room, or a connection still waiting for its request that
                # can make room; else new connections wait in the backlog.
                accepting = len(waiting) + serving < most_open or bool(waiting)
                if accepting and not listening:
                    selector.register(self.socket, selectors.EVENT_READ, "listen")
                elif listening and not accepting:
                    selector.unregister(self.socket)
                listening = accepting
                soonest = min((w.deadline(idle) for w in waiting.values()), default=now + idle)
                for key, _ in selector.select(max(0.0, min(soonest - now, 1.0))):
                    now = time.monotonic()
                    if key.data == "listen":
                        for _ in range(64):  # a burst at a time, the rest at the next round
                            try:
                                conn, address = self.socket.accept()
                            except OSError:
                                break  # none left (or out of files: the next round makes room)
                            conn.setblocking(False)
                            waiting[conn] = Waiting(address, b"", now)
                            selector.register(conn, selectors.EVENT_READ, "client")
                            # Full: the connection that has waited longest for its request makes
                            # room, so that slow clients never keep a new one out for long.
                            if len(waiting) + serving > most_open:
                                oldest = min(waiting, key=lambda c: waiting[c].since)
                                FAILURES.tell(f"request from {waiting[oldest].address[0]} failed: "
                                              "closed to make room for another")
                                close(oldest)
                    elif key.data == "wake":
                        try:
                            os.read(wake_r, 4096)
                        except BlockingIOError:
                            pass
                        while True:
                            try:
                                conn, address, rest = returned.get_nowait()
                            except queue.Empty:
                                break
                            serving -= 1
                            if rest is not None:
                                conn.setblocking(False)
                                waiting[conn] = Waiting(address, rest, now)
                                selector.register(conn, selectors.EVENT_READ, "client")
                                take(conn)
                    elif key.fileobj in waiting:
                        conn = key.fileobj
                        try:
                            got = conn.recv(1 << 16)
                        except (BlockingIOError, InterruptedError):
                            continue
                        except OSError:
                            got = b""
                        if not got:
                            close(conn)  # the client went away
                            continue
                        w = waiting[conn]
                        if w.first is None and got.strip(b"\r\n"):
                            w.first = now
                        w.data += got
                        take(conn)
                now = time.monotonic()
                for conn in [c for c, w in waiting.items() if w.deadline(idle) <= now]:
                    if waiting[conn].first is None:
                        close(conn)  # idle: routine on a network
                    else:
                        refuse(conn, 408, "Request Timeout")
        finally:
            FAILURES.flush()
            for conn in list(waiting):
                close(conn)
            selector.close()
            os.close(wake_r)
            os.close(wake_w)

    def handle_error(self, request, client_address):
        # A client that hangs up or stalls is the network's doing, not a fault of the server's.
        e = sys.exc_info()[1]
        if isinstance(e, (ConnectionError, TimeoutError)):
            return
        FAILURES.tell(f"request from {client_address[0]} failed: {type(e).__name__}: {e}")


class SocketWriter(io.BufferedIOBase):
    """Writes straight to the connection, every byte or an error."""

    def __init__(self, conn):
        self.conn = conn

    def writable(self):
        return True

    def write(self, b):
        self.conn.sendall(b)
        return len(b)


class Files:
    """Entity tags by content, computed once per version of a file."""

    def __init__(self):
        self.lock = threading.Lock()
        self.tags = {}

    def etag(self, f, st):
        key = (st.st_dev, st.st_ino, st.st_size, st.st_mtime_ns)
        with self.lock:
            tag = self.tags.get(key)
        if tag is None:
            digest = hashlib.sha256()
            f.seek(0)
            for block in iter(lambda: f.read(1 << 16), b""):
                digest.update(block)
            tag = f'"{digest.hexdigest()[:24]}"'
            with self.lock:
                self.tags[key] = tag
        return tag


FILES = Files()


def accepted(header):
    """The content codings the Accept-Encoding header allows (q > 0)."""
    allowed, refused = set(), set()
    for part in (header or "").split(","):
        fields = [f.strip() for f in part.split(";")]
        name = fields[0].lower()
        q = 1.0
        for f in fields[1:]:
            if f.lower().startswith("q="):
                try:
                    q = float(f[2:])
                except ValueError:
                    q = 0.0
        (allowed if q > 0 else refused).add(name)
    if "*" in allowed:
        allowed |= {name for name, _ in ENCODINGS} - refused
    return allowed


def parse_range(header, size):
    """(first, last) of a single byte range, None to send the whole file, or "unsatisfiable"."""
    m = re.fullmatch(r"bytes=([0-9]*)-([0-9]*)", (header or "").strip())
    if not m or m.group(1) == m.group(2) == "":
        return None  # several ranges, or another unit: the whole file is a valid answer
    if len(m.group(1)) > MAX_DIGITS or len(m.group(2)) > MAX_DIGITS:
        return "unsatisfiable"
    if m.group(1) == "":
        length = int(m.group(2))
        if length == 0 or size == 0:
            return "unsatisfiable"
        return (max(0, size - length), size - 1)
    first = int(m.group(1))
    last = int(m.group(2)) if m.group(2) else size - 1
    if first >= size or last < first:
        return "unsatisfiable"
    return (first, min(last, size - 1))


def tag_matches(header, tag):
    # Weak comparison, as If-None-Match asks: W/"x" matches "x".
    if header.strip() == "*":
        return True
    return any(t.strip().removeprefix("W/") == tag for t in header.split(","))


class Handler(http.server.BaseHTTPRequestHandler):
    """Answers one request whose head has arrived; keep_open tells whether the connection may carry
    the next."""
    server_version = "pelmoravan"
    sys_version = ""
    protocol_version = "HTTP/1.1"
    root = "."  # the folder's real path
    timeout = 30  # seconds a connection may sit idle (IDLE)

    def __init__(self, request, client_address, server, head):
        self.head = head
        self.keep_open = False
        super().__init__(request, client_address, server)

    def setup(self):
        self.connection = self.request
        self.connection.settimeout(self.timeout)
        self.rfile = io.BytesIO(self.head)
        self.wfile = SocketWriter(self.connection)

    def handle(self):
        self.close_connection = True
        self.handle_one_request()
        # Only requests without a body: what follows the head is the next request.
        self.keep_open = (not self.close_connection and self.command in ("GET", "HEAD")
                          and self.headers.get("Content-Length", "0").strip() == "0"
                          and "Transfer-Encoding" not in self.headers)

    def do_GET(self):
        self.answer(body=True)

    def do_HEAD(self):
        self.answer(body=False)

    def find(self):
        """The path the request names in the folder, and the real path of that file, or None."""
        rel = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        if rel.endswith("/"):
            rel += "index.html"
        parts = [p for p in rel.split("/") if p not in ("", ".")]
        if any(p == ".." or p.startswith(".") or "\\" in p or "\0" in p for p in parts):
            return None
        path = os.path.join(self.root, *parts)
        real = self.inside(path)
        return (path, real) if real else None

    def inside(self, path):
        """The real path of a regular file at path, if it lies in the folder; else None.

        A link may point anywhere, so the folder is what its real path is checked against."""
        try:
            real = os.path.realpath(path)
        except (OSError, ValueError):
            return None
        if not real.startswith(os.path.join(self.root, "")) or not os.path.isfile(real):
            return None
        return real

    def answer(self, body):
        found = self.find()
        if found is None:
            self.send_error(404)
            return
        path, real = found
        # The name asked for decides type and caching, not that of a link's target.
        name = os.path.basename(path)
        ext = os.path.splitext(name)[1]
        ctype = TYPES.get(ext) or mimetypes.guess_type(name)[0] or "application/octet-stream"
        cache = IMMUTABLE if HASHED.search(name) else "no-cache"

        # Ranges are of the file itself; a compressed copy is sent only for whole files. A copy
        # that leads out of the folder is no copy.
        variants = {} if ext in (".br", ".gz") else \
            {c: v for c, suffix in ENCODINGS if (v := self.inside(path + suffix))}
        want_range = "Range" in self.headers
        coding, sent = None, real
        if not want_range:
            allowed = accepted(self.headers.get("Accept-Encoding"))
            coding = next((c for c, _ in ENCODINGS if c in allowed and c in variants), None)
            sent = variants.get(coding, real)
        try:
            f = open(sent, "rb")
        except OSError:
            self.send_error(404)  # gone since it was found
            return
        with f:
            # A link swapped in on the way since the check would have led the open elsewhere.
            if PROC_FDS and self.inside(f"/proc/self/fd/{f.fileno()}") != sent:
                self.send_error(404)
                return
            self.send_file(f, ctype, cache, coding, bool(variants), want_range, body)

    def send_file(self, f, ctype, cache, coding, has_variants, want_range, body):
        st = os.fstat(f.fileno())
        tag = FILES.etag(f, st)
        if coding:
            tag = tag[:-1] + "-" + coding + '"'
        headers = {"Cache-Control": cache, "ETag": tag, "Accept-Ranges": "bytes",
                   "Last-Modified": email.utils.formatdate(st.st_mtime, usegmt=True)}
        if has_variants:
            headers["Vary"] = "Accept-Encoding"

        inm = self.headers.get("If-None-Match")
        if inm is not None and tag_matches(inm, tag):
            self.reply(304, headers, None, body)
            return

        size = st.st_size
        span = None
        if want_range:
            if_range = self.headers.get("If-Range")
            if if_range is None or if_range.strip() == tag:
                span = parse_range(self.headers["Range"], size)
        if span == "unsatisfiable":
            self.reply(416, {**headers, "Content-Range": f"bytes */{size}", "Content-Length": "0"}, None, body)
            return

        headers["Content-Type"] = ctype
        if coding:
            headers["Content-Encoding"] = coding
        first, last = span if span else (0, size - 1)
        headers["Content-Length"] = str(last - first + 1)
        if span:
            headers["Content-Range"] = f"bytes {first}-{last}/{size}"
        self.reply(206 if span else 200, headers, (f, first, last - first + 1), body)

    def reply(self, status, headers, content, body):
        self.send_response(status)
        for k, v in headers.items():
            self.send_header(k, v)
        if content is None and "Content-Length" not in headers:
            self.send_header("Content-Length", "0")
        self.end_headers()
        if not body or content is None:
            return
        f, offset, length = content
        f.seek(offset)
        while length > 0:
            block = f.read(min(length, 1 << 16))
            if not block:
                break
            self.wfile.write(block)
            length -= len(block)

    def log_error(self, format, *args):
        # A connection closed for sitting idle is routine on a network.
        if not (args and isinstance(args[0], TimeoutError)):
            FAILURES.tell(f"request from {self.client_address[0]} failed: {format % args}")

    def log_request(self, code="-", size="-"):
        # Failures only (send_error logs them): a line per file would bury the addresses.
        pass


def raise_file_limit():
    """The soft limit of open files up to the hard one: each connection holds one."""
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    for want in (hard, 1 << 20):
        if soft == want or soft == resource.RLIM_INFINITY:
            return
        try:
            resource.setrlimit(resource.RLIMIT_NOFILE, (want, hard))
            return
        except (ValueError, OSError):
            continue  # an unlimited hard limit the kernel will not give as soft


def main(argv):
    host = os.environ.get("HOST") or "127.0.0.1"
    if len(argv) == 2 and argv[0] == "--check":
        bind(host, parse_port(argv[1])).server_close()
        return 0
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    folder, port = argv[0], parse_port(argv[1])
    if not os.path.isfile(os.path.join(folder, "index.html")):
        raise Refused(f"{folder} holds no index.html (tools/web/build.sh makes it)")
    raise_file_limit()
    Handler.root = os.path.realpath(folder)
    Handler.timeout = parse_idle(os.environ.get("IDLE") or "30")
    server = bind(host, port)
    port = server.server_address[1]
    import signal
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    if host in ("0.0.0.0", "::", ""):
        addresses = local_addresses() or ["127.0.0.1"]
    else:
        addresses = [host]
    for a in addresses:
        print(f"http://{'[' + a + ']' if ':' in a else a}:{port}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except Refused as e:
        print(f"pelmoravan: {e}", file=sys.stderr)
        sys.exit(1)
