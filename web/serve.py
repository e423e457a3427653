#!/usr/bin/env python3
"""Serves the browser build on 127.0.0.1 and prints its address.

    python3 web/serve.py [--port N] [FOLDER]

Port 0 picks a free port. Only the loopback address is used: the page is for
this machine's browser. Text, scripts and the wasm go out compressed when the
browser accepts it: brotli where Python has the brotli module (Debian's
python3-brotli), gzip otherwise.
"""
import argparse
import functools
import gzip
import http.server
import io
import os
import sys
import threading

try:
    import brotli
except ImportError:
    brotli = None

COMPRESSIBLE = {".html", ".js", ".mjs", ".css", ".wasm", ".json", ".webmanifest", ".svg", ".txt"}


def accepted_encodings(header):
    """The codings an Accept-Encoding header allows (q=0 refuses one)."""
    accepted = set()
    for part in (header or "").split(","):
        name, _, params = part.strip().partition(";")
        quality = 1.0
        for param in params.split(";"):
            key, _, value = param.strip().partition("=")
            if key == "q":
                try:
                    quality = float(value)
                except ValueError:
                    quality = 0.0
        if name and quality > 0:
            accepted.add(name.strip().lower())
    return accepted


def choose_encoding(header, have_brotli=brotli is not None):
    accepted = accepted_encodings(header)
    if have_brotli and "br" in accepted:
        return "br"
    if "gzip" in accepted or "*" in accepted:
        return "gzip"
    return None


def compress(data, encoding):
    if encoding == "br":
        return brotli.compress(data, quality=11)
    return gzip.compress(data, compresslevel=9, mtime=0)


class CompressedFiles:
    """Each file compressed once per version (size and time of change)."""

    def __init__(self):
        self.lock = threading.Lock()
        self.store = {}

    def get(self, path, encoding):
        stat = os.stat(path)
        key = (path, encoding)
        version = (stat.st_size, stat.st_mtime_ns)
        with self.lock:
            known = self.store.get(key)
        if known and known[0] == version:
            return known[1], stat
        with open(path, "rb") as file:
            body = compress(file.read(), encoding)
        with self.lock:
            self.store[key] = (version, body)
        return body, stat


class PageHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".mjs": "text/javascript",
        ".js": "text/javascript",
        ".webmanifest": "application/manifest+json",
    }
    compressed = CompressedFiles()

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split("?", 1)[0].endswith("/"):
            path = os.path.join(path, "index.html")
        if os.path.splitext(path)[1] not in COMPRESSIBLE or not os.path.isfile(path):
            return super().send_head()
        encoding = choose_encoding(self.headers.get("Accept-Encoding"))
        if encoding is None:
            return super().send_head()
        try:
            body, stat = self.compressed.get(path, encoding)
        except OSError:
            return super().send_head()
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", encoding)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Last-Modified", self.date_time_string(stat.st_mtime))
        self.end_headers()
        return io.BytesIO(body)

    def end_headers(self):
        # A rebuilt game shows on the next reload; what is compressed
        # depends on what the browser accepts.
        self.send_header("Cache-Control", "no-cache")
        self.send_header("Vary", "Accept-Encoding")
        super().end_headers()

    def handle(self):
        # A browser that leaves a page mid-download closes the connection:
        # nothing to report.
        try:
            super().handle()
        except (BrokenPipeError, ConnectionResetError):
            pass

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
