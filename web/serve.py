#!/usr/bin/env python3
"""Serves the browser build on 127.0.0.1 and prints its address.

    python3 web/serve.py [--port N] [FOLDER]

Port 0 picks a free port. Only the loopback address is used: the page is for
this machine's browser.
"""
import argparse
import functools
import http.server
import os
import sys


class PageHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".mjs": "text/javascript",
        ".js": "text/javascript",
    }

    def end_headers(self):
        # A rebuilt game shows on the next reload.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=8030)
    parser.add_argument("folder", nargs="?", default="build-web")
    options = parser.parse_args()
    if not os.path.isfile(os.path.join(options.folder, "index.html")):
        sys.exit(f"serve.py: no index.html in {options.folder}: build it with `make web`")
    handler = functools.partial(PageHandler, directory=options.folder)
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port), handler)
    except OSError as error:
        sys.exit(f"serve.py: cannot listen on 127.0.0.1:{options.port}: {error}")
    print(f"Quarnex in the browser: http://127.0.0.1:{server.server_port}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
