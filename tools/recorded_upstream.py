#!/usr/bin/env python3
"""A recorded forecast upstream on 127.0.0.1 for the service's tests and for
tools/run: answers "/v1/forecast?latitude=..&longitude=.." with a forecast in
the forecast API's JSON shape, the same for the same point every time.

In a test:
    upstream = RecordedUpstream().start()
    upstream.set_mode("hang")          # or "slow", "malformed", "500", "close", None
    ... upstream.count() ... upstream.stop()

From the shell: recorded_upstream.py [--port N] [--port-file FILE]
"""
import argparse
import http.server
import json
import threading
import time
import urllib.parse
import zlib
from pathlib import Path

MODES = {
    "hang",       # accept the request, never answer
    "slow",       # answer after `delay` seconds (4 unless given)
    "malformed",  # status 200 with a body that is not JSON
    "partial",    # JSON without the daily values
    "500",        # status 500
    "close",      # close the connection without an answer
}
# WMO codes the recording cycles through: each maps to a text with an icon.
CODES = [0, 1, 2, 3, 45, 51, 61, 63, 65, 71, 73, 80, 95]


def forecast_of(latitude, longitude):
    """The recorded forecast of a point: fixed per point, different between
    neighbours."""
    seed = zlib.crc32(f"{latitude:.4f},{longitude:.4f}".encode())
    low = seed % 25 - 5
    return {
        "latitude": latitude, "longitude": longitude, "timezone": "Asia/Shanghai",
        "current": {
            "time": "2026-01-01T12:00", "interval": 900,
            "temperature_2m": low + (seed >> 5) % 6 + 0.3,
            "weather_code": CODES[(seed >> 9) % len(CODES)],
            "wind_speed_10m": float((seed >> 13) % 60),
            "wind_direction_10m": float((seed >> 19) % 360),
        },
        "daily": {
            "time": ["2026-01-01"],
            "weather_code": [CODES[(seed >> 23) % len(CODES)]],
            "temperature_2m_max": [low + 6 + (seed >> 27) % 5 + 0.4],
            "temperature_2m_min": [float(low)],
        },
    }


class RecordedUpstream:
    def __init__(self, port=0):
        self._mode, self._delay = None, 4.0
        self._count = 0
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._httpd = http.server.ThreadingHTTPServer(("127.0.0.1", port), self._handler_class())
        self._httpd.daemon_threads = True
        self._httpd.request_queue_size = 128

    @property
    def base(self):
        return f"http://127.0.0.1:{self._httpd.server_address[1]}"

    def start(self):
        threading.Thread(target=self._httpd.serve_forever, daemon=True).start()
        return self

    def stop(self):
        self._stopping.set()
        self._httpd.shutdown()
        self._httpd.server_close()

    def set_mode(self, mode, delay=4.0):
        if mode is not None and mode not in MODES:
            raise ValueError(f"unknown mode {mode}")
        with self._lock:
            self._mode, self._delay = mode, delay

    def count(self):
        """How many forecasts were asked for so far."""
        with self._lock:
            return self._count

    def _handler_class(self):
        upstream = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                upstream._handle(self)

            def log_message(self, *args):
                pass

        return Handler

    def _handle(self, handler):
        path, _, query = handler.path.partition("?")
        with self._lock:
            self._count += 1
            mode, delay = self._mode, self._delay
        fields = urllib.parse.parse_qs(query)
        try:
            point = float(fields["latitude"][0]), float(fields["longitude"][0])
        except (KeyError, ValueError):
            point = None
        if mode == "hang":
            self._stopping.wait()
            return
        if mode == "close":
            handler.close_connection = True
            return
        if mode == "slow":
            self._stopping.wait(delay)
        status, body = 200, b""
        if path != "/v1/forecast" or point is None:
            status, body = 400, b'{"error":true,"reason":"bad request"}'
        elif mode == "500":
            status, body = 500, b'{"error":true}'
        elif mode == "malformed":
            body = b'{"current": {"temperature_2m": 12.0, '
        else:
            recorded = forecast_of(*point)
            if mode == "partial":
                del recorded["daily"]
            body = json.dumps(recorded).encode()
        try:
            handler.send_response(status)
            handler.send_header("Content-Type", "application/json")
            handler.send_header("Content-Length", str(len(body)))
            handler.end_headers()
            handler.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    args = parser.parse_args()
    upstream = RecordedUpstream(port=args.port)
    if args.port_file:
        Path(args.port_file).write_text(str(upstream._httpd.server_address[1]))
    try:
        upstream._httpd.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
