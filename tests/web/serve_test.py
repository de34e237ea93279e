"""The page's delivery: tools/web/publish.py on a small staged page, served by tools/web/serve.py
(names by content, compressed copies, caching, ETags, ranges), and ./play --web refusing a port
it cannot serve on before it builds anything."""
import gzip
import http.client
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

import brotli

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "../.."))
PYTHON = "/usr/bin/python3"
SCRIPT = b"console.log('pelmoravan');\n" * 200


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
        cls.server = subprocess.Popen([PYTHON, os.path.join(ROOT, "tools/web/serve.py"), cls.out, "0"],
                                      stdout=subprocess.PIPE, text=True)
        cls.port = int(re.search(r":(\d+)/", cls.server.stdout.readline()).group(1))
        with open(os.path.join(cls.out, "index.html")) as f:
            cls.page = f.read()
        cls.names = json.loads(re.search(r"pelmoravanFiles = (\{.*?\});", cls.page).group(1))["names"]

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait()
        cls.tmp.cleanup()

    def get(self, path, **headers):
        c = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        c.request("GET", "/" + path, headers=headers)
        r = c.getresponse()
        body = r.read()
        c.close()
        return r, body

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
        ]:
            with self.subTest(asked=asked):
                r, body = self.get(js, Range=asked, **{"Accept-Encoding": "br, gzip"})
                self.assertEqual((r.status, body, r.getheader("Content-Range")), (status, want, content_range))
                self.assertIsNone(r.getheader("Content-Encoding"))

    def test_nothing_outside_the_folder(self):
        for path in ("../serve_test.py", "%2e%2e/%2e%2e/etc/passwd", "icons/", "missing.js"):
            with self.subTest(path=path):
                self.assertEqual(self.get(path)[0].status, 404)


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
