#!/usr/bin/env python3
"""A local stand-in for the public web pages the programs use.

Serves on 127.0.0.1 only. Every request is appended to a log so tests can
see what was fetched. Run: standin_server.py --port-file FILE [--log FILE].
"""
import argparse
import http.server
import threading
from pathlib import Path

HOME_PAGE = """<!doctype html><html><head><meta charset="utf-8"><title>Torvane</title></head>
<body><h1>Torvane 日历</h1><p>本地演示服务器。</p></body></html>"""


class Handler(http.server.BaseHTTPRequestHandler):
    pages = {
        "/": ("text/html; charset=utf-8", HOME_PAGE.encode("utf-8")),
    }
    log_path = None
    log_lock = threading.Lock()

    def do_GET(self):
        if self.log_path:
            with self.log_lock, open(self.log_path, "a", encoding="utf-8") as log:
                log.write(self.path + "\n")
        path = self.path.split("?", 1)[0]
        page = self.pages.get(path)
        if page is None:
            self.send_error(404)
            return
        content_type, body = page
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    args = parser.parse_args()
    Handler.log_path = args.log
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    if args.port_file:
        Path(args.port_file).write_text(str(server.server_address[1]))
    server.serve_forever()


if __name__ == "__main__":
    main()
