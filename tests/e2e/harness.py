"""End-to-end harness: runs the real .exe files under Wine on a private Xvfb.

A Session owns one Xvfb display, one Wine prefix (copied from a template that
is made once per build tree) and one persistent wineserver, so sessions never
see each other's processes, windows or tray icons. Programs are started from a
private copy of the program folder and ended with the session.
"""
import fcntl
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))
from standin_server import StandinServer  # noqa: E402,F401  (the tests' web server)
BUILD = Path(os.environ.get("TORVANE_BUILD", ROOT / "build")).resolve()
WIN_BIN = Path(os.environ.get("TORVANE_WIN_BIN", BUILD / "win" / "bin")).resolve()
E2E_DIR = BUILD / "e2e"
TEMPLATE = E2E_DIR / "prefix-template"
WINE = "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver64"
FAKE_BROWSER = ROOT / "tests" / "e2e" / "fakebrowser.sh"
DPI_KEY = r"HKCU\Control Panel\Desktop"
DEFAULT_DPI = 96
TEST_FONT_FAMILY = "Torvane Test Hei"
# Debian's own python3, which has python3-fonttools (a python3 of another
# install may not).
FONT_MAKER = ["/usr/bin/python3", str(ROOT / "tools" / "make_test_font.py")]
# How long a test waits for Wine to take in a pointer move or a button:
# generous, for a loaded machine.
INPUT_PATIENCE = 20.0
# Bump when the template's settings change so old templates are rebuilt.
TEMPLATE_VERSION = "6"

REGISTRY_SETTINGS = [
    # A crash returns at once instead of opening a modal dialog.
    (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"),
    # Without a window manager every hide would block for two seconds.
    (r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N"),
    # The shell's browser is a script that only logs the address.
    (r"HKCU\Software\Wine\WineBrowser", "Browsers", "REG_SZ", str(FAKE_BROWSER)),
] + [
    # The faces a Chinese Windows has, to the one font the template carries
    # (tools/make_test_font.py: WenQuanYi Micro Hei with a "℃" it draws).
    (r"HKCU\Software\Wine\Fonts\Replacements", face, "REG_SZ", TEST_FONT_FAMILY)
    for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif",
                 "SimSun", "Segoe UI", "Microsoft YaHei", "微软雅黑")
]


def base_env(prefix, display):
    env = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
    env.update({
        "WINEPREFIX": str(prefix),
        "WINELOADER": WINE,
        "WINEDEBUG": os.environ.get("TORVANE_WINEDEBUG", "-all"),
        "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mscoree,mshtml=",
        "DISPLAY": display,
        "LANG": "zh_CN.UTF-8",
        "LC_ALL": "zh_CN.UTF-8",
    })
    return env


def shot_path(name):
    """Where Session.screenshot(name) keeps its PNG."""
    return E2E_DIR / "shots" / f"{name}.png"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_xvfb(width, height, log):
    """A private X server on a display it picks itself, so parallel sessions
    never race for one."""
    read_end, write_end = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             f"{width}x{height}x24", "-nolisten", "tcp"], stdout=log, stderr=log,
                            pass_fds=(write_end,), start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number or proc.poll() is not None:
        proc.kill()
        raise RuntimeError("Xvfb did not start")
    return proc, f":{number}"


def ensure_template():
    """Makes the Wine prefix template once; later sessions copy it (2 s).

    Test modules run in parallel: the first one makes the template while the
    others wait on the lock."""
    E2E_DIR.mkdir(parents=True, exist_ok=True)
    with open(E2E_DIR / "template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        stamp = TEMPLATE / "torvane-template"
        if not (stamp.exists() and stamp.read_text() == TEMPLATE_VERSION):
            make_template(stamp)


def make_template(stamp):
    shutil.rmtree(TEMPLATE, ignore_errors=True)
    with open(E2E_DIR / "template.log", "wb") as log:
        xvfb, display = start_xvfb(1024, 768, log)
        env = base_env(TEMPLATE, display)
        try:
            subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=log, stderr=log, check=True,
                           timeout=300)
            fonts = TEMPLATE / "drive_c" / "windows" / "Fonts"
            fonts.mkdir(parents=True, exist_ok=True)
            subprocess.run([*FONT_MAKER, str(fonts / "TorvaneTestHei.ttf")], stdout=log, stderr=log,
                           check=True, timeout=300)
            for key, name, kind, data in REGISTRY_SETTINGS:
                subprocess.run([WINE, "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"],
                               env=env, stdout=log, stderr=log, check=True, timeout=60)
            subprocess.run([WINESERVER, "-w"], env=env, stdout=log, stderr=log, timeout=120)
        finally:
            subprocess.run([WINESERVER, "-k"], env=env, stdout=log, stderr=log)
            xvfb.kill()
    stamp.write_text(TEMPLATE_VERSION)


# Every public address points at a closed port on this machine unless a test
# names its own stand-in: no test ever reaches out.
LOCAL_SERVER_DEFAULTS = {key: "http://127.0.0.1:9/"
                         for key in ("home", "location", "weather", "update", "probe")}


def local_settings(settings):
    """`settings` (set.ini text) with one [server] section that names
    127.0.0.1 for every address the test did not give itself."""
    server, others, in_server = dict(LOCAL_SERVER_DEFAULTS), [], False
    for line in settings.splitlines():
        stripped = line.strip()
        if stripped.startswith("["):
            in_server = stripped.lower() == "[server]"
            if in_server:
                continue
        if in_server and "=" in line:
            key, value = line.split("=", 1)
            server[key.strip().lower()] = value.strip()
            continue
        others.append(line)
    lines = ["[server]", *(f"{key}={value}" for key, value in server.items()), *others]
    return "\n".join(lines) + "\n"


class Session:
    """One display, one prefix, one wineserver; ended by close()."""

    def __init__(self, width=1280, height=1024, display=None, dpi=None):
        """`dpi` sets the screen's logical pixels per inch for this session's
        programs; None keeps the prefix's own (96)."""
        ensure_template()
        self.dir = Path(tempfile.mkdtemp(prefix="session-", dir=E2E_DIR))
        self.log = open(self.dir / "session.log", "ab")
        self.prefix = self.dir / "prefix"
        subprocess.run(["cp", "-a", str(TEMPLATE), str(self.prefix)], check=True)
        if display:  # somebody else's X server: use it, leave it running
            self.xvfb, self.display = None, display
        else:
            self.xvfb, self.display = start_xvfb(width, height, self.log)
        self.width, self.height = width, height
        self.dpi = dpi or DEFAULT_DPI
        self.env = base_env(self.prefix, self.display)
        if dpi:
            self._set_dpi(dpi)
        # A persistent server keeps every start warm and owns no test's output.
        self.server = subprocess.Popen([WINESERVER, "-p", "-f"], env=self.env, stdout=self.log,
                                       stderr=self.log, start_new_session=True)
        self.started = []
        self.folders = 0
        # Start Wine's own services now, with the session log as their output.
        subprocess.run([WINE, "cmd", "/c", "exit"], env=self.env, stdout=self.log,
                       stderr=self.log, stdin=subprocess.DEVNULL, timeout=120)

    def _set_dpi(self, dpi):
        """Programs read the DPI when the wineserver starts: write it, then end
        the server the write started so the persistent one comes up with it."""
        subprocess.run([WINE, "reg", "add", DPI_KEY, "/v", "LogPixels", "/t", "REG_DWORD",
                        "/d", str(dpi), "/f"], env=self.env, stdout=self.log, stderr=self.log,
                       stdin=subprocess.DEVNULL, check=True, timeout=120)
        subprocess.run([WINESERVER, "-k"], env=self.env, stdout=self.log, stderr=self.log)
        subprocess.run([WINESERVER, "-w"], env=self.env, stdout=self.log, stderr=self.log, timeout=60)

    # -- programs ---------------------------------------------------------
    def program_folder(self, settings=None, files=("torvane.exe", "torvo.exe", "halter.exe",
                                                      "torvaneupdate.exe", "set.ini", "pic",
                                                      "holidays.txt")):
        """A private copy of the program folder; `settings` is extra set.ini text."""
        self.folders += 1
        folder = self.dir / f"prog{self.folders}"
        folder.mkdir()
        for name in files:
            src = WIN_BIN / name
            if src.is_dir():
                shutil.copytree(src, folder / name)
            elif src.exists():
                shutil.copy2(src, folder / name)
        if settings or "set.ini" in files:
            with open(folder / "set.ini", "ab") as f:
                f.write(local_settings(settings or "").replace("\n", "\r\n").encode("gbk"))
        return folder

    @staticmethod
    def set_flags(folder, **flags):
        """Rewrites flags of section [sys] in a program folder's set.ini."""
        path = Path(folder) / "set.ini"
        lines = path.read_bytes().decode("gbk").splitlines()
        for key, on in flags.items():
            text = f"{key}={'True' if on else 'False'}"
            lines = [text if line.lower().startswith(key.lower() + "=") else line for line in lines]
        path.write_bytes(("\r\n".join(lines) + "\r\n").encode("gbk"))

    def stop(self, proc):
        """Ends a program this session started, from outside."""
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGKILL)
        proc.wait(timeout=20)

    def start(self, exe, *args, cwd=None):
        exe = Path(exe)
        with open(self.dir / f"{exe.stem}-{len(self.started)}.log", "ab") as log:
            proc = subprocess.Popen([WINE, str(exe), *args], env=self.env, cwd=cwd or exe.parent,
                                    stdout=log, stderr=log, stdin=subprocess.DEVNULL,
                                    start_new_session=True)
        self.started.append(proc)
        return proc

    def run(self, exe, *args, timeout=60):
        proc = self.start(exe, *args)
        return proc.wait(timeout=timeout)

    # What a probe that ran returns: 0, or 1 for "not found" / "not reached".
    PROBE_ANSWERS = (0, 1)
    PROBE_TRIES = 3

    def probe(self, *args, check=False, timeout=60):
        for _ in range(self.PROBE_TRIES):
            rc, text, errors = self._run_probe(args, timeout)
            if rc in self.PROBE_ANSWERS:
                break
            # The probe never ran its command (Wine could not start it on a
            # loaded machine, or it crashed): noted, and run again.
            self.log.write(f"probe {args} ended with {rc}: {errors[-2000:]}\n".encode())
            self.log.flush()
        if check and rc != 0:
            raise RuntimeError(f"probe {args} failed ({rc}): {errors}")
        return [json.loads(line) for line in text.splitlines() if line.startswith("{")]

    def _run_probe(self, args, timeout):
        # Output goes through a file, not a pipe: a Wine system process started
        # on the way could inherit a pipe and keep it open.
        with tempfile.TemporaryFile(dir=self.dir) as out, \
                tempfile.TemporaryFile(dir=self.dir) as err:
            rc = subprocess.run([WINE, str(WIN_BIN / "probe.exe"), *map(str, args)],
                                env=self.env, stdout=out, stderr=err, timeout=timeout).returncode
            out.seek(0)
            err.seek(0)
            return rc, out.read().decode("utf-8"), err.read().decode(errors="replace")

    def windows(self, cls=None, title=None, wait_ms=0, all_windows=False):
        args = ["windows"]
        if cls:
            args += ["--class", cls]
        if title:
            args += ["--title", title]
        if all_windows:
            args.append("--all")
        if wait_ms:
            args += ["--wait", wait_ms]
        return self.probe(*args)

    def wait_window(self, cls, timeout_ms=30000):
        found = self.windows(cls=cls, wait_ms=timeout_ms)
        if not found:
            raise AssertionError(f"no visible window of class {cls}")
        return found[0]

    def tree(self, hwnd):
        return self.probe("tree", hwnd)

    def elements(self, hwnd):
        """The named child windows of a window (the calendar names each of its
        element windows), by name."""
        return {child["name"]: child for child in self.tree(hwnd)[1:] if child.get("name")}

    def tooltips(self, hwnd):
        """(tooltip windows, tools) of the tooltips a window owns: each tool
        with its text, uId, rect (client pixels of its window) and screen rect."""
        lines = self.probe("tooltips", hwnd)
        return ([line for line in lines if "index" not in line],
                [line for line in lines if "index" in line])

    def processes(self):
        return [p["name"].lower() for p in self.probe("procs")]

    def wait_until(self, predicate, timeout=30.0, step=0.1):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            value = predicate()
            if value:
                return value
            time.sleep(step)
        return predicate()

    @staticmethod
    def holds(predicate, seconds=2.0, step=0.1):
        """Watches that `predicate` stays true for `seconds`: False the moment
        it fails. For what must not happen, which can only be watched for a
        while; a slow machine can make it miss a fault, never fail a sound
        program."""
        end = time.monotonic() + seconds
        while predicate():
            if time.monotonic() >= end:
                return True
            time.sleep(step)
        return False

    # -- X side -----------------------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True,
                       stdout=self.log, stderr=self.log, timeout=30)

    # xdotool's button numbers and the virtual keys Wine keeps their state under.
    BUTTON_KEYS = {1: 0x01, 2: 0x04, 3: 0x02}

    def wait_pointer(self, x, y, button=None, down=False, timeout=INPUT_PATIENCE):
        """Waits until Wine has the pointer at (x, y) and, with `button`, that
        button down or up: what xdotool sent has reached Wine's input state."""
        key = self.BUTTON_KEYS.get(button, 0)
        found = self.probe("waitpointer", x, y, key, int(down), int(timeout * 1000), timeout=timeout + 60)
        if not (found and found[0]["reached"]):
            raise AssertionError(f"Wine never saw the pointer at {x},{y} button {button} down={down}: {found}")

    def click(self, x, y, button=1):
        # Each step waits until Wine has seen the one before: the pointer must
        # arrive before the press, or Wine may deliver the press where the
        # pointer was; and Wine's tray drops a button released in the same
        # instant it went down.
        self.xdotool("mousemove", x, y)
        self.wait_pointer(x, y)
        self.xdotool("mousedown", button)
        self.wait_pointer(x, y, button, down=True)
        self.xdotool("mouseup", button)
        self.wait_pointer(x, y, button, down=False)

    def key(self, *keys):
        """Keys to the focused window, one after the other."""
        for k in keys:
            self.xdotool("key", k)

    def type_text(self, text):
        """Types text into the focused window."""
        self.xdotool("type", "--delay", 50, text)

    def reg_query(self, key, value):
        """A registry value's data as text, or None when it is missing."""
        out = subprocess.run([WINE, "reg", "query", key, "/v", value], env=self.env,
                             capture_output=True, timeout=60)
        if out.returncode != 0:
            return None
        for line in out.stdout.decode("gbk", errors="replace").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) == 3 and parts[0] == value and parts[1].startswith("REG_"):
                return parts[2]
        return ""

    def screenshot_until(self, name, predicate, timeout=30.0):
        """Screenshots until one shows what `predicate(image)` wants (a paint
        that has landed), or the time is up; returns the last one."""
        last = []

        def shows():
            last[:] = [self.screenshot(name)]
            return predicate(last[0])
        self.wait_until(shows, timeout=timeout)
        return last[0]

    def screenshot(self, name):
        """Saves the screen as PNG (to look at, see shot_path) and returns its pixels."""
        png = shot_path(name)
        png.parent.mkdir(exist_ok=True)
        ppm = self.dir / f"{name}.ppm"
        subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", str(ppm)],
                       check=True, env=self.env, timeout=60)
        subprocess.run(["convert", str(ppm), str(png)], check=True, timeout=60)
        return Image.load_ppm(ppm)

    def browser_log(self):
        path = self.prefix / "browser.log"
        return path.read_text(encoding="utf-8").splitlines() if path.exists() else []

    # -- teardown ---------------------------------------------------------
    def close(self):
        for proc in self.started:
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            try:
                proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                pass
        subprocess.run([WINESERVER, "-k"], env=self.env, stdout=self.log, stderr=self.log)
        try:
            self.server.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.server.kill()
        if self.xvfb:
            self.xvfb.kill()
            self.xvfb.wait()
        self.log.close()
        if not os.environ.get("TORVANE_KEEP_SESSIONS"):
            shutil.rmtree(self.dir, ignore_errors=True)


class Image:
    """RGB pixels of a screenshot."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def load_ppm(path):
        raw = Path(path).read_bytes()
        fields, pos = [], 0
        while len(fields) < 4:  # magic, width, height, maxval
            while raw[pos:pos + 1].isspace():
                pos += 1
            if raw[pos:pos + 1] == b"#":
                pos = raw.index(b"\n", pos)
                continue
            end = pos
            while not raw[end:end + 1].isspace():
                end += 1
            fields.append(raw[pos:end])
            pos = end
        assert fields[0] == b"P6", "expected a binary PPM"
        width, height = int(fields[1]), int(fields[2])
        return Image(width, height, raw[pos + 1:pos + 1 + width * height * 3])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def count(self, rect, predicate):
        left, top, right, bottom = rect
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if predicate(self.pixel(x, y)))


class SessionTest(unittest.TestCase):
    """A test case class with one session per class, and with `serves` a
    stand-in server of its own, `cls.server`, holding the files `served`."""
    screen = (1280, 1024)
    dpi = None
    serves = False
    served = {}

    @classmethod
    def setUpClass(cls):
        cls.session = Session(*cls.screen, dpi=cls.dpi)
        if cls.serves:
            cls.server = StandinServer().start()
            for path, data in cls.served.items():
                cls.server.put_file(path, data)

    @classmethod
    def tearDownClass(cls):
        if cls.serves:
            cls.server.stop()
        cls.session.close()
