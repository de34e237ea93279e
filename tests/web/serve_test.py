# SPDX-License-Identifier: MIT
"""The page's delivery: tools/web/publish.py on a small staged page, served by tools/web/serve.py
(names by content, compressed copies, caching, ETags, ranges, links out of the folder, bursts,
idle and vanishing clients) and by nginx with tools/web/nginx.conf, and ./play --web refusing a
port it cannot serve on before it builds anything."""
import concurrent.futures
import gzip
import http.client
import json
import os
import re
import resource
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

import brotli

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "../.."))
PYTHON = "/usr/bin/python3"
SCRIPT = b"console.log('pelmoravan');\n" * 200
SECRET = b"outside the folder\n"


def get(port, path, timeout=10, **headers):
    c = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    c.request("GET", "/" + path, headers=headers)
    r = c.getresponse()
    body = r.read()
    c.close()
    return r, body


class Served(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        stage = os.path.join(cls.tmp.name, "stage")
        os.makedirs(os.path.join(stage, "icons"))
        files = {
            "index.html": b'<link rel="icon" href="icons/1.png"><script src="page.js"></script>\n' * 20,
            "page.js": SCRIPT, "sw.js": b"self.addEventListener('fetch', () => {});\n",
            "icons/1.png": os.urandom(300),
        }
        for rel, data in files.items():
            with open(os.path.join(stage, rel), "wb") as f:
                f.write(data)
        cls.out = os.path.join(cls.tmp.name, "web")
        subprocess.run([PYTHON, os.path.join(ROOT, "tools/web/publish.py"), stage, cls.out,
                        os.path.join(cls.tmp.name, "cache")], check=True)
        # Links a neighbour could plant: out of the folder as a file, a folder and a gzip copy
        # of the page; and one that stays inside.
        for name in ("outside.txt", "outside.gz"):
            with open(os.path.join(cls.tmp.name, name), "wb") as f:
                f.write(SECRET)
        os.symlink("../outside.txt", os.path.join(cls.out, "leak.txt"))
        os.symlink("/", os.path.join(cls.out, "rootlink"))
        os.replace(os.path.join(cls.out, "index.html.gz"), os.path.join(cls.tmp.name, "page.gz"))
        os.symlink("../outside.gz", os.path.join(cls.out, "index.html.gz"))
        os.symlink("sw.js", os.path.join(cls.out, "worker.js"))
        with open(os.path.join(cls.out, "big.data"), "wb") as f:
            f.write(os.urandom(8 << 20))
        cls.log = open(os.path.join(cls.tmp.name, "serve.log"), "w+")
        cls.server = subprocess.Popen([PYTHON, os.path.join(ROOT, "tools/web/serve.py"), cls.out, "0"],
                                      stdout=subprocess.PIPE, stderr=cls.log, text=True,
                                      env={**os.environ, "IDLE": "1"})
        cls.port = int(re.search(r":(\d+)/", cls.server.stdout.readline()).group(1))
        with open(os.path.join(cls.out, "index.html")) as f:
            cls.page = f.read()
        cls.names = json.loads(re.search(r"pelmoravanFiles = (\{.*?\});", cls.page).group(1))["names"]

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait()
        cls.server.stdout.close()
        cls.log.close()
        cls.tmp.cleanup()

    def get(self, path, **headers):
        return get(self.port, path, **headers)

    def test_names_carry_the_content_hash_and_references_follow(self):
        self.assertRegex(self.names["page.js"], r"^page\.[0-9a-f]{12}\.js$")
        self.assertIn(f'src="{self.names["page.js"]}"', self.page)
        self.assertIn(f'href="{self.names["icons/1.png"]}"', self.page)
        with open(os.path.join(self.out, "sw.js")) as f:
            self.assertIn(self.names["page.js"], f.read())
        # Nothing under a plain name but the page and the worker; no copy of a random picture.
        self.assertFalse(os.path.exists(os.path.join(self.out, "page.js")))
        self.assertFalse(os.path.exists(os.path.join(self.out, self.names["icons/1.png"] + ".br")))

    def test_best_accepted_encoding_and_cache_policy(self):
        js = self.names["page.js"]
        cases = [  # path, Accept-Encoding, coding expected, Cache-Control expected
            (js, "gzip, deflate, br", "br", "public, max-age=31536000, immutable"),
            (js, "br;q=0, gzip", "gzip", "public, max-age=31536000, immutable"),
            (js, "identity", None, "public, max-age=31536000, immutable"),
            ("", "br", "br", "no-cache"),
            ("sw.js", "", None, "no-cache"),
        ]
        for path, accept, coding, cache in cases:
            with self.subTest(path=path, accept=accept):
                r, body = self.get(path, **{"Accept-Encoding": accept})
                self.assertEqual(r.status, 200)
                self.assertEqual(r.getheader("Content-Encoding"), coding)
                self.assertEqual(r.getheader("Cache-Control"), cache)
                self.assertRegex(r.getheader("ETag") or "", r'^"[^"]+"$')
                plain = {"br": brotli.decompress, "gzip": gzip.decompress, None: bytes}[coding](body)
                if path == js:
                    self.assertEqual(plain, SCRIPT)
                    self.assertEqual(r.getheader("Vary"), "Accept-Encoding")

    def test_etag_revalidates_each_encoding(self):
        for accept in ("br", "gzip", ""):
            with self.subTest(accept=accept):
                r, _ = self.get("index.html", **{"Accept-Encoding": accept})
                tag = r.getheader("ETag")
                again, body = self.get("index.html", **{"Accept-Encoding": accept, "If-None-Match": tag})
                self.assertEqual((again.status, body, again.getheader("ETag")), (304, b"", tag))
                other, _ = self.get("index.html", **{"Accept-Encoding": accept, "If-None-Match": '"other"'})
                self.assertEqual(other.status, 200)

    def test_ranges_are_of_the_uncompressed_file(self):
        js = self.names["page.js"]
        n = len(SCRIPT)
        for asked, status, want, content_range in [
            ("bytes=0-9", 206, SCRIPT[:10], f"bytes 0-9/{n}"),
            (f"bytes={n - 5}-", 206, SCRIPT[-5:], f"bytes {n - 5}-{n - 1}/{n}"),
            ("bytes=-3", 206, SCRIPT[-3:], f"bytes {n - 3}-{n - 1}/{n}"),
            (f"bytes={n}-", 416, b"", f"bytes */{n}"),
            ("bytes=" + "9" * 5000 + "-", 416, b"", f"bytes */{n}"),
            ("bytes=0-" + "1" * 5000, 416, b"", f"bytes */{n}"),
            ("bytes=ten-", 200, SCRIPT, None),
        ]:
            with self.subTest(asked=asked):
                r, body = self.get(js, Range=asked, **{"Accept-Encoding": "br, gzip"})
                self.assertEqual((r.status, body, r.getheader("Content-Range")), (status, want, content_range))
                self.assertIsNone(r.getheader("Content-Encoding"))

    def test_nothing_outside_the_folder(self):
        for path in ("../serve_test.py", "%2e%2e/%2e%2e/etc/passwd", "icons/", "missing.js",
                     "leak.txt", "rootlink/etc/passwd"):
            with self.subTest(path=path):
                self.assertEqual(self.get(path)[0].status, 404)
        # The page itself, not the gzip copy that leads out; a link inside the folder is served.
        r, body = self.get("", **{"Accept-Encoding": "gzip"})
        self.assertEqual((r.status, r.getheader("Content-Encoding"), body.decode()), (200, None, self.page))
        r, body = self.get("worker.js")
        with open(os.path.join(self.out, "sw.js"), "rb") as f:
            self.assertEqual((r.status, r.getheader("Cache-Control"), body), (200, "no-cache", f.read()))

    def test_burst_idle_and_vanishing_clients(self):
        # Clients that reset the connection in the middle of a large file.
        for _ in range(5):
            s = socket.create_connection(("127.0.0.1", self.port), timeout=10)
            s.sendall(b"GET /big.data HTTP/1.1\r\nHost: x\r\n\r\n")
            s.recv(1)
            s.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            s.close()

        # 200 page loads at once, each answered within 5 s.
        def load(_):
            start = time.monotonic()
            return get(self.port, "", timeout=5)[0].status, time.monotonic() - start
        with concurrent.futures.ThreadPoolExecutor(200) as pool:
            answers = list(pool.map(load, range(200)))
        self.assertEqual({status for status, _ in answers}, {200})
        print(f"\n200 parallel requests: slowest {max(t for _, t in answers):.2f} s", file=sys.stderr)

        # A connection that never sends a request is closed after the idle limit (1 s here).
        s = socket.create_connection(("127.0.0.1", self.port), timeout=10)
        start = time.monotonic()
        self.assertEqual(s.recv(1), b"")
        print(f"idle connection closed after {time.monotonic() - start:.2f} s", file=sys.stderr)
        s.close()

        self.log.seek(0)
        self.assertNotRegex(self.log.read(), "Traceback|Error|timed out")

    def test_nginx_with_the_repository_config(self):
        """Debian's nginx in a prefix of its own, on a free port, the rules from tools/web/nginx.conf."""
        prefix = os.path.join(self.tmp.name, "nginx")
        os.mkdir(prefix)
        probe = socket.socket()
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
        probe.close()
        temps = " ".join(f"{kind}_temp_path {prefix}/{kind};" for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        with open(os.path.join(prefix, "nginx.conf"), "w") as f:
            f.write(f"load_module /usr/lib/nginx/modules/ngx_http_brotli_static_module.so;\n"
                    f"daemon off; master_process off; pid {prefix}/nginx.pid; error_log {prefix}/error.log;\n"
                    f"events {{}}\nhttp {{ access_log off; {temps}\n"
                    f"  server {{ listen 127.0.0.1:{port}; root {self.out}; include {ROOT}/tools/web/nginx.conf; }}\n}}\n")
        nginx = subprocess.Popen(["/usr/sbin/nginx", "-p", prefix, "-e", f"{prefix}/error.log", "-c", f"{prefix}/nginx.conf"])
        try:
            deadline = time.monotonic() + 10
            while True:
                with socket.socket() as probe:
                    if probe.connect_ex(("127.0.0.1", port)) == 0:
                        break
                self.assertTrue(nginx.poll() is None and time.monotonic() < deadline, "nginx does not listen")
                time.sleep(0.05)
            js, year = self.names["page.js"], "public, max-age=31536000, immutable"
            for path, accept, coding, cache in [(js, "gzip, deflate, br", "br", year), (js, "gzip", "gzip", year),
                                                ("", "identity", None, "no-cache")]:
                with self.subTest(path=path, accept=accept):
                    r, body = get(port, path, **{"Accept-Encoding": accept})
                    self.assertEqual((r.status, r.getheader("Content-Encoding"), r.getheader("Cache-Control")),
                                     (200, coding, cache))
                    self.assertRegex(r.getheader("ETag") or "", r'"[^"]+"$')
                    plain = {"br": brotli.decompress, "gzip": gzip.decompress, None: bytes}[coding](body)
                    self.assertEqual(plain, SCRIPT if path else self.page.encode())
                    if path:
                        self.assertEqual((r.getheader("Vary"), r.getheader("Content-Type")),
                                         ("Accept-Encoding", "application/javascript; charset=utf-8"))
            self.assertEqual(get(port, "leak.txt")[0].status, 403)
        finally:
            nginx.terminate()
            nginx.wait()


class SlowClients(unittest.TestCase):
    """1,100 connections that send their requests slowly, to a server started under ulimit -n 1024
    (soft and hard limit alike, so that raising the soft one gains nothing): a normal request is
    still answered within 2 s, a head still incomplete after 10 s is answered 408 and closed, and
    the failures make at most a line a second."""

    SLOW = 1100

    def test_a_normal_request_among_1100_slow_connections(self):
        soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
        want = self.SLOW + 200
        if hard != resource.RLIM_INFINITY and hard < want:
            self.skipTest(f"this test's own file limit ({hard}) cannot hold {self.SLOW} connections")
        if soft != resource.RLIM_INFINITY and soft < want:
            resource.setrlimit(resource.RLIMIT_NOFILE, (want, hard))
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        with open(os.path.join(tmp.name, "index.html"), "w") as f:
            f.write("<p>pelmoravan</p>\n")
        log = open(os.path.join(tmp.name, "serve.log"), "w+")
        self.addCleanup(log.close)
        server = subprocess.Popen(["bash", "-c", 'ulimit -n 1024 && exec "$0" "$@"', PYTHON,
                                   os.path.join(ROOT, "tools/web/serve.py"), tmp.name, "0"],
                                  stdout=subprocess.PIPE, stderr=log, text=True)
        started = time.monotonic()
        slow = []

        def stop():
            for s in slow:
                s.close()
            server.terminate()
            server.wait()
            server.stdout.close()
        self.addCleanup(stop)
        port = int(re.search(r":(\d+)/", server.stdout.readline()).group(1))
        with open(f"/proc/{server.pid}/limits") as f:
            self.assertRegex(f.read(), r"Max open files\s+1024\s+1024\s")

        # Each connects and sends half a request head, then nothing more.
        for _ in range(self.SLOW):
            s = socket.socket()
            s.setblocking(False)
            s.connect_ex(("127.0.0.1", port))
            slow.append(s)
        unsent, sent_at = set(slow), {}
        deadline = time.monotonic() + 30
        while unsent and time.monotonic() < deadline:
            for s in list(unsent):
                try:
                    s.send(b"GET / HTTP/1.1\r\nHost: slow\r\n")
                    sent_at[s] = time.monotonic()
                    unsent.discard(s)
                except (BlockingIOError, InterruptedError):
                    pass  # still connecting
                except OSError:
                    unsent.discard(s)  # closed by the server to make room
            time.sleep(0.02)
        self.assertGreater(len(sent_at), 900)
        # Until the server has taken in all it will: its open files stay the same for a second.
        count, steady, deadline = -1, time.monotonic(), time.monotonic() + 20
        while time.monotonic() < deadline and time.monotonic() - steady < 1:
            now_count = len(os.listdir(f"/proc/{server.pid}/fd"))
            if now_count != count:
                count, steady = now_count, time.monotonic()
            time.sleep(0.1)

        begin = time.monotonic()
        r, body = get(port, "", timeout=30)
        took = time.monotonic() - begin
        self.assertEqual((r.status, body), (200, b"<p>pelmoravan</p>\n"))
        print(f"\nwith {self.SLOW} slow connections at a file limit of 1024: a request answered in {took:.2f} s",
              file=sys.stderr)
        self.assertLess(took, 2.0)

        # The last to connect are still open: each is answered 408 and closed once its head has
        # taken 10 s (20 s here at the most).
        answers = set()
        for s in slow[-20:]:
            if s not in sent_at:
                continue
            s.setblocking(True)
            s.settimeout(max(0.1, sent_at[s] + 20 - time.monotonic()))
            try:
                answer = s.recv(4096)
            except (ConnectionError, socket.timeout) as e:
                answer = type(e).__name__.encode()
            answers.add(answer.split(b"\r\n")[0])
            self.assertGreaterEqual(time.monotonic() - sent_at[s], 9.5)
        self.assertIn(b"HTTP/1.1 408 Request Timeout", answers)
        self.assertNotIn(b"timeout", answers)

        server.terminate()
        server.wait()
        elapsed = time.monotonic() - started
        log.seek(0)
        lines = log.read().splitlines()
        self.assertLessEqual(len(lines), elapsed + 3, lines)
        self.assertTrue(any("more failed requests not shown" in line for line in lines), lines)
        self.assertFalse(any("Traceback" in line for line in lines), lines)


class Refused(unittest.TestCase):
    """./play --web with a port it cannot serve on: one line, exit 1, and nothing built."""

    def play(self, port):
        def state():
            return {d: os.stat(os.path.join(ROOT, d)).st_mtime_ns if os.path.exists(os.path.join(ROOT, d)) else None
                    for d in ("build/web", "build/web-build", "build/web-build/stage")}
        before = state()
        r = subprocess.run([os.path.join(ROOT, "play"), "--web"], env={**os.environ, "PORT": port},
                           capture_output=True, text=True, timeout=60)
        self.assertEqual(state(), before, "the build folder changed")
        return r

    def test_busy_and_bad_ports(self):
        import socket
        busy = socket.socket()
        busy.bind(("127.0.0.1", 0))
        busy.listen()
        taken = str(busy.getsockname()[1])
        try:
            for port, reason in [(taken, "in use"), ("http", "not a number"), ("70000", "not a number")]:
                with self.subTest(port=port):
                    r = self.play(port)
                    self.assertEqual(r.returncode, 1)
                    self.assertEqual(r.stdout, "")
                    lines = r.stderr.splitlines()
                    self.assertEqual(len(lines), 1, r.stderr)
                    self.assertIn(reason, lines[0])
                    self.assertIn(f"port {port}" if port == taken else repr(port), lines[0])
        finally:
            busy.close()


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]], verbosity=1)
