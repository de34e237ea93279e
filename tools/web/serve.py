"""Serves the built page's folder, read only, until Ctrl+C or SIGTERM.

    serve.py <folder> <port>      serve; prints the addresses once the port is bound
    serve.py --check <port>       only says whether the port can be served on (exit 0 or 1)

HOST (default 127.0.0.1) is the address to listen on; HOST=0.0.0.0 listens on every interface and
prints each address another device could open. Port 0 takes any free port. IDLE (default 30) is
how many seconds a connection may sit idle before it is closed.

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
import mimetypes
import os
import re
import socket
import struct
import sys
import threading
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


class Server(http.server.ThreadingHTTPServer):
    request_queue_size = BACKLOG

    def handle_error(self, request, client_address):
        # A client that hangs up or stalls is the network's doing, not a fault of the server's.
        e = sys.exc_info()[1]
        if isinstance(e, (ConnectionError, TimeoutError)):
            return
        print(f"pelmoravan: request from {client_address[0]} failed: {type(e).__name__}: {e}",
              file=sys.stderr, flush=True)


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
    server_version = "pelmoravan"
    sys_version = ""
    protocol_version = "HTTP/1.1"
    root = "."  # the folder's real path
    timeout = 30  # seconds a connection may sit idle (IDLE)

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
            super().log_error(format, *args)

    def log_request(self, code="-", size="-"):
        # Failures only (send_error logs them): a line per file would bury the addresses.
        pass


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
