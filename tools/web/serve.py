"""Serves a folder of static files on 127.0.0.1 until Ctrl+C or SIGTERM.

Prints the address on stdout once the port is bound, so that whoever reads it can connect at once.
Usage: serve.py <folder> <port>
"""
import functools
import http.server
import signal
import sys


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print(f"http://127.0.0.1:{port}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
