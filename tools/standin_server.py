#!/usr/bin/env python3
"""A local stand-in for the public web pages the programs use.

Serves on 127.0.0.1 only: the home page, the IP-location page "/ic.asp", the
weather search "/search.php?city=" for every city of resources/cities.txt,
and any file a test puts there. Every request is recorded so tests can see
what was fetched, and each path can be switched to a fault mode.

In a test:
    server = StandinServer(place="广东省深圳市 电信").start()
    server.set_fault("/search.php", "hang")
    ... server.requests() ... server.stop()

From the shell: standin_server.py [--port N] [--port-file FILE] [--log FILE]
                                  [--place TEXT] [--fault PATH=MODE ...]
"""
import argparse
import http.server
import threading
import time
import urllib.parse
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
CITIES_FILE = ROOT / "resources" / "cities.txt"

# What a fault mode does to a path's answer.
FAULT_MODES = {
    "hang",      # accept the request, never answer
    "slow",      # the whole answer, at `bytes_per_second` (1 unless given)
    "404",       # status 404 with a body
    "500",       # status 500 with a body
    "cut",       # the body stops short of its Content-Length, near its end
    "errorpage", # the whole page, sent with status 500
    "nolength",  # the body without a Content-Length header
    "huge",      # the page followed by filler up to 5 MB
    "unclosed",  # the weather runs never closed by a "<"
    "close",     # the connection is closed without an answer
}
HUGE_BYTES = 5 * 1024 * 1024

HOME_PAGE = """<!doctype html><html><head><meta charset="utf-8"><title>Torvane</title></head>
<body><h1>Torvane 日历</h1><p>本地演示服务器。</p></body></html>"""

WEATHER_TEXTS = [
    "晴", "多云", "阴", "阵雨", "雷阵雨", "小雨", "中雨", "大雨", "暴雨", "大暴雨", "雨夹雪",
    "小雪", "中雪", "大雪", "暴雪", "冻雨", "雾", "霾", "沙尘暴", "浮尘", "扬沙",
    "多云转晴", "晴转多云", "阴转多云", "多云转阴", "小雨转多云", "阵雨转晴", "阴转小雨",
]
WINDS = ["北风", "东北风", "东风", "东南风", "南风", "西南风", "西风", "西北风"]


def load_cities(path=CITIES_FILE):
    """Province -> its cities, in file order."""
    table = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        province, cities = line.split("\t", 1)
        table[province] = cities.split()
    return table


def weather_of(city, season=""):
    """The stand-in's weather of a city: the same every time for one season
    (a test changes the season to make every page differ from the last one),
    different from its neighbours."""
    seed = zlib.crc32((season + city).encode("utf-8"))
    low = seed % 25 - 5
    return {
        "now": f"{low + (seed >> 5) % 6}℃",
        "low": f"{low}℃",
        "high": f"{low + 4 + (seed >> 9) % 9}℃",
        "text": WEATHER_TEXTS[(seed >> 13) % len(WEATHER_TEXTS)],
        "wind": f"{WINDS[(seed >> 17) % len(WINDS)]} {1 + (seed >> 20) % 5}级",
    }


def weather_runs(city, season=""):
    """The ten runs after the marker: 1 the temperature, 5 the day's high,
    8 the weather text, 10 the wind; the others are the empty runs between
    adjacent tags or small captions."""
    w = weather_of(city, season)
    return [w["now"], "", "", "最高", w["high"], "", "", w["text"], "", w["wind"]]


def weather_page(city, closed=True, season=""):
    runs = weather_runs(city, season)
    if closed:
        # <i> and </i> in turn: every run ends at the next tag.
        body = "".join(run + ("</i>" if k % 2 == 0 else "<i>") for k, run in enumerate(runs))
    else:
        body = " ".join(runs)
    head = (f'<html><head><meta http-equiv="Content-Type" content="text/html; charset=gb2312">'
            f"<title>{city}天气预报</title></head><body><div class=\"city\">{city}</div>"
            f'<div class="now"><i class="fs_30 tpte">{body}')
    if not closed:
        return head  # the page ends before any "<" closes a run
    return head + "</div></body></html>"


def location_page(place):
    return (f'<html><head><meta http-equiv="Content-Type" content="text/html; charset=gb2312">'
            f"<title>IP地址查询</title></head><body><center>您的IP是：[127.0.0.1] 来自：{place}"
            f"</center></body></html>")


def error_page(status):
    return f"<html><body><h1>{status} 错误</h1><p>服务器错误</p></body></html>".encode("gb2312")


class StandinServer:
    def __init__(self, place="广东省深圳市 电信", port=0, log_path=None):
        self.place = place
        self.cities = {c for cities in load_cities().values() for c in cities}
        self._faults = {}
        self._files = {}
        self._requests = []
        self._headers = []
        self._served = []
        self.season = ""
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._log_path = log_path
        self._httpd = http.server.ThreadingHTTPServer(("127.0.0.1", port), self._handler_class())
        self._httpd.daemon_threads = True
        self._thread = None

    # --- control -----------------------------------------------------------
    @property
    def port(self):
        return self._httpd.server_address[1]

    @property
    def base(self):
        return f"http://127.0.0.1:{self.port}"

    def start(self):
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self):
        self._stopping.set()
        self._httpd.shutdown()
        self._httpd.server_close()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def set_place(self, place):
        self.place = place

    def set_season(self, season):
        """Changes every city's weather (see weather_of)."""
        with self._lock:
            self.season = season

    def set_fault(self, path, mode, bytes_per_second=1):
        """Switches `path` (without its query) to a fault mode; None ends it."""
        if mode is not None and mode not in FAULT_MODES:
            raise ValueError(f"unknown fault mode {mode}")
        with self._lock:
            if mode is None:
                self._faults.pop(path, None)
            else:
                self._faults[path] = (mode, max(1, int(bytes_per_second)))

    def put_file(self, path, data, content_type="application/octet-stream"):
        with self._lock:
            self._files[path] = (content_type, bytes(data))

    def requests(self):
        """The request targets seen so far (path and query), in order."""
        with self._lock:
            return list(self._requests)

    def served(self):
        """The request targets whose answers have ended (sent whole, cut or
        closed; a hanging one never ends), in the order they ended."""
        with self._lock:
            return list(self._served)

    def request_headers(self, path):
        """The headers of each request for `path` (without its query), in
        order, as {lower-case name: value}."""
        with self._lock:
            return [dict(h) for target, h in self._headers if target.partition("?")[0] == path]

    def weather_requests(self):
        """The cities the weather search was asked for, decoded from GBK."""
        cities = []
        for target in self.requests():
            path, _, query = target.partition("?")
            if path == "/search.php":
                raw = urllib.parse.parse_qs(query, encoding="gbk", keep_blank_values=True)
                cities.append(raw.get("city", [""])[0])
        return cities

    # --- answers -------------------------------------------------------------
    def _page(self, path, query, mode):
        """(status, content type, body) for a path, or None when unknown."""
        if path in self._files:
            content_type, data = self._files[path]
            return 200, content_type, data
        if path == "/":
            return 200, "text/html; charset=utf-8", HOME_PAGE.encode("utf-8")
        if path == "/ic.asp":
            return 200, "text/html; charset=gb2312", location_page(self.place).encode("gb2312")
        if path == "/search.php":
            # The calendar sends the city percent-encoded in GBK, with the
            # space the location step leaves after it.
            fields = urllib.parse.parse_qs(query, encoding="gbk", keep_blank_values=True)
            city = fields.get("city", [""])[0].strip()
            if city.endswith("市") and city not in self.cities:
                city = city[:-1]
            if city in self.cities:
                page = weather_page(city, closed=mode != "unclosed", season=self.season)
            else:
                page = ('<html><head><meta http-equiv="Content-Type" content="text/html; '
                        'charset=gb2312"></head><body><p>没有找到该城市</p></body></html>')
            return 200, "text/html; charset=gb2312", page.encode("gb18030")
        return None

    def _handler_class(self):
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                server._handle(self)

            def log_message(self, *args):
                pass

        return Handler

    def _handle(self, handler):
        try:
            self._answer(handler)
        finally:
            with self._lock:
                self._served.append(handler.path)

    def _answer(self, handler):
        with self._lock:
            self._requests.append(handler.path)
            self._headers.append((handler.path, {k.lower(): v for k, v in handler.headers.items()}))
            if self._log_path:
                with open(self._log_path, "a", encoding="utf-8") as log:
                    log.write(handler.path + "\n")
        path, _, query = handler.path.partition("?")
        with self._lock:
            mode, rate = self._faults.get(path, (None, 1))
            page = self._page(path, query, mode)
        if mode == "hang":
            self._stopping.wait()
            handler.close_connection = True
            return
        if mode == "close":
            handler.close_connection = True
            return
        if page is None:
            status, content_type, body = 404, "text/html; charset=gb2312", error_page(404)
        else:
            status, content_type, body = page
        if mode in ("404", "500"):
            status, body = int(mode), error_page(int(mode))
        if mode == "errorpage":
            status = 500
        if mode == "huge":
            body = body + b" " * max(0, HUGE_BYTES - len(body))
        handler.send_response(status)
        handler.send_header("Content-Type", content_type)
        if mode != "nolength":
            handler.send_header("Content-Length", str(len(body)))
        handler.send_header("Cache-Control", "no-cache")
        handler.end_headers()
        try:
            if mode == "cut":
                # Near the end, so that what came looks like a whole page.
                handler.wfile.write(body[: max(len(body) // 2, len(body) - 16)])
            elif mode == "slow":
                step = max(1, rate // 10)
                for start in range(0, len(body), step):
                    if self._stopping.is_set():
                        break
                    handler.wfile.write(body[start:start + step])
                    handler.wfile.flush()
                    time.sleep(step / rate)
            else:
                handler.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up: that is its right
        handler.close_connection = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    parser.add_argument("--place", default="广东省深圳市 电信",
                        help="what /ic.asp says after 来自：")
    parser.add_argument("--fault", action="append", default=[], metavar="PATH=MODE",
                        help=f"a fault mode for a path: {', '.join(sorted(FAULT_MODES))}")
    args = parser.parse_args()
    server = StandinServer(place=args.place, port=args.port, log_path=args.log)
    for fault in args.fault:
        path, _, mode = fault.partition("=")
        server.set_fault(path, mode)
    if args.port_file:
        Path(args.port_file).write_text(str(server.port))
    try:
        server._httpd.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
