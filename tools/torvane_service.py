#!/usr/bin/env python3
"""Runs torvane-server for tests and tools/run: on 127.0.0.1, a port it picks,
a data folder of the caller's, and an IP database built here in the service's
file format (the IP database is the shipped one only when the caller asks).

    db = build_ip_database([("127.0.0.0", "127.255.255.255", "中国|0|广东省|深圳市|电信")])
    with TorvaneService(upstream=recorded.base, ip_database=db) as service:
        urllib.request.urlopen(service.base + "/ic.asp")
        service.log()   # the access log's records
"""
import ipaddress
import json
import os
import signal
import struct
import subprocess
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
NATIVE_BIN = Path(os.environ.get("TORVANE_NATIVE_BIN", ROOT / "build" / "native" / "bin"))
SERVER = NATIVE_BIN / "torvane-server"


def build_ip_database(ranges):
    """The bytes of an IP database: ranges of (first, last, "country|area|
    province|city|isp"), sorted and apart. Super block, data, index blocks."""
    data, pointers = b"", []
    for _, _, region in ranges:
        text = region.encode("utf-8")
        pointers.append((8 + len(data)) | ((4 + len(text)) << 24))
        data += struct.pack("<I", 0) + text
    first = 8 + len(data)
    index = b"".join(struct.pack("<III", int(ipaddress.IPv4Address(a)), int(ipaddress.IPv4Address(b)), p)
                     for (a, b, _), p in zip(ranges, pointers))
    return struct.pack("<II", first, first + len(index) - 12) + data + index


class TorvaneService:
    def __init__(self, upstream, ip_database=None, site=None, trusted_proxies=(), cache_seconds=None,
                 folder=None):
        """`ip_database`: bytes, a path, or None for none; `site`: {name: bytes}
        for the /tg/ folder."""
        self.folder = Path(folder or tempfile.mkdtemp(prefix="torvane-service-"))
        (self.folder / "tg").mkdir(parents=True, exist_ok=True)
        for name, data in (site or {}).items():
            path = self.folder / "tg" / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
        args = [str(SERVER), "--bind", "127.0.0.1", "--port", "0", "--data", str(self.folder),
                "--port-file", str(self.folder / "port"), "--weather-upstream", upstream,
                "--access-log", str(self.folder / "access.log")]
        if isinstance(ip_database, (bytes, bytearray)):
            (self.folder / "ip2region.db").write_bytes(ip_database)
        elif ip_database is not None:
            args += ["--ip-database", str(ip_database)]
        for proxy in trusted_proxies:
            args += ["--trusted-proxy", proxy]
        if cache_seconds is not None:
            args += ["--cache-seconds", str(cache_seconds)]
        self.args = args
        self.proc = None
        self.port = None

    @property
    def base(self):
        return f"http://127.0.0.1:{self.port}"

    def start(self, timeout=30):
        port_file = self.folder / "port"
        # A folder used before (tools/run's) still holds the last run's port.
        port_file.unlink(missing_ok=True)
        self.stderr = open(self.folder / "stderr.log", "wb")
        self.proc = subprocess.Popen(self.args, stdout=subprocess.DEVNULL, stderr=self.stderr)
        end = time.monotonic() + timeout
        while time.monotonic() < end and self.proc.poll() is None:
            written = port_file.read_text().strip() if port_file.exists() else ""
            if written.isdigit():
                self.port = int(written)
                return self
            time.sleep(0.05)
        self.stop()
        raise RuntimeError(f"torvane-server did not start: {(self.folder / 'stderr.log').read_text()}")

    def stop(self, timeout=30):
        """SIGTERM, then the exit code (a kill past `timeout`)."""
        if self.proc is None:
            return None
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.stderr.close()
        return self.proc.returncode

    def log(self):
        """The access log's records so far (the service flushes it each second)."""
        path = self.folder / "access.log"
        if not path.exists():
            return []
        return [json.loads(line) for line in path.read_text(encoding="utf-8").splitlines() if line.strip()]

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
