"""The installer and a whole update under Wine, against the stand-in: install
this release, be offered the next one at start-up, update through the updater
and the installer, keep the user's switches, and uninstall while the suite
runs."""
import hashlib
import re
import struct
import unittest
from pathlib import Path

from harness import BUILD, ROOT, Session, SessionTest, local_settings
from calendar_app import MAIN_CLASS, center
from check_manifest import file_version  # tools/, on the path through the harness
from sign_release import version_file as signed_version_file

PACKAGES = BUILD / "package"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvane"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
PROMPT_TITLE = "检测到更新"
UPDATER_WINDOW = "TorvaneUpdate"
WM_COMMAND, IDOK, IDYES, IDNO = 0x111, 1, 6, 7
PROGRAMS = ("torvane.exe", "torvaneupdate.exe", "torvo.exe", "halter.exe")


def release_versions():
    """This checkout's version and the next minor one (tools/package --newer)."""
    cmake = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    current = re.search(r'set\(TORVANE_VERSION "([^"]+)"', cmake).group(1)
    major, minor = (current.split(".") + ["0"])[:2]
    return current, f"{major}.{int(minor) + 1}"


CURRENT, NEWER = release_versions()


def dotted4(version):
    return ".".join((version.split(".") + ["0", "0", "0"])[:4])


def package(version):
    path = PACKAGES / f"torvane-setup-{version}.exe"
    if not path.exists():
        raise AssertionError(f"{path.name} is missing: bash tools/package (--newer)")
    return path


def ini_text(path):
    return Path(path).read_bytes().decode("gbk")


def versions(folder):
    """The programs' file versions; None for one that is missing or still being written."""
    found = []
    for name in PROGRAMS:
        try:
            found.append(file_version(Path(folder) / name))
        except (OSError, ValueError, struct.error):
            found.append(None)
    return found


def version_file(base, version, name, installer=b""):
    """The version file the update server serves, signed by the build's test key."""
    return signed_version_file(version, f"{base}/tg/{name}", name, hashlib.sha256(installer).hexdigest())


class InstalledTest(SessionTest):
    """A session with the stand-in server, for suites that install the
    programs into `cls.folder` (which the subclass names)."""
    screen = (1024, 768)
    serves = True

    def end_suite(self):
        if (self.folder / "halter.exe").exists():
            self.session.run(self.folder / "halter.exe")
        self.session.wait_until(lambda: not {"torvane.exe", "torvo.exe", "torvaneupdate.exe"}
                                & set(self.session.processes()))

    def calendar_running(self):
        return self.session.wait_until(lambda: self.session.windows(cls=MAIN_CLASS), timeout=30)


class InstallTest(InstalledTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix = Path(cls.session.env["WINEPREFIX"])
        users = [p for p in (prefix / "drive_c" / "users").iterdir() if p.name.lower() != "public"]
        cls.home = users[0]
        cls.folder = cls.home / "AppData" / "Local" / "Programs" / "Torvane"
        cls.shortcut = cls.home / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Torvane.lnk"

    def tearDown(self):
        self.end_suite()

    # -- steps ----------------------------------------------------------------
    def install(self, version):
        """Installs silently."""
        self.name_the_standin()
        self.assertEqual(self.session.run(package(version), "/S", timeout=120), 0)

    def name_the_standin(self):
        """The program folder gets a set.ini first, naming the stand-in: an
        installer keeps the set.ini it finds."""
        if not (self.folder / "set.ini").exists():
            self.folder.mkdir(parents=True, exist_ok=True)
            shipped = (ROOT / "resources" / "set.ini").read_text(encoding="utf-8")
            base = self.server.base
            text = local_settings(f"[server]\nupdate={base}\nprobe={base}/\n" + shipped)
            (self.folder / "set.ini").write_bytes(text.replace("\n", "\r\n").encode("gbk"))

    def start_calendar(self):
        self.session.start(self.folder / "torvane.exe", "qidong")
        self.assertTrue(self.calendar_running())

    def prompt(self, timeout=30):
        return self.session.wait_until(lambda: self.session.windows(title=PROMPT_TITLE), timeout=timeout)

    def answer(self, button):
        self.session.probe("post", self.prompt()[0]["hwnd"], WM_COMMAND, button, 0)

    # -- flows ------------------------------------------------------------------
    def test_install_update_and_uninstall(self):
        self.install(CURRENT)
        self.assertEqual(versions(self.folder), [dotted4(CURRENT)] * len(PROGRAMS))
        self.assertTrue((self.folder / "pic" / "晴.gif").exists())
        self.assertTrue(self.shortcut.exists())
        self.assertEqual(self.session.reg_query(UNINSTALL_KEY, "DisplayVersion"), CURRENT)
        self.assertIn("uninst.exe", self.session.reg_query(UNINSTALL_KEY, "QuietUninstallString"))
        self.assertRegex(ini_text(self.folder / "set.ini"), rf"(?i)\[version\]\r\nversion={re.escape(CURRENT)}\r\n")
        self.assertTrue(self.calendar_running(), "the installer starts the calendar")

        # A newer release on the server; the user's switch must survive it.
        Session.set_flags(self.folder, x1=False)
        self.server.put_file("/tg/version.txt", version_file(self.server.base, NEWER, f"torvane-setup-{NEWER}.exe",
                                                             package(NEWER).read_bytes()))
        self.server.put_file(f"/tg/torvane-setup-{NEWER}.exe", package(NEWER).read_bytes())
        self.end_suite()
        self.start_calendar()
        self.answer(IDYES)
        updater = self.session.wait_window(UPDATER_WINDOW)["hwnd"]
        self.assertFalse(self.session.windows(cls=MAIN_CLASS), "the calendar ended for the updater")
        self.session.click(*center(self.session.elements(updater)["Image8"]["rect"]))
        replaced = lambda: versions(self.folder) == [dotted4(NEWER)] * len(PROGRAMS)
        self.assertTrue(self.session.wait_until(replaced, timeout=60), versions(self.folder))
        self.assertTrue(self.calendar_running(), "the installer brings the calendar back")
        settings = ini_text(self.folder / "set.ini")
        self.assertRegex(settings, rf"(?i)\[version\]\r\nversion={re.escape(NEWER)}\r\n")
        self.assertIn("x1=False", settings)
        self.assertEqual(self.session.reg_query(UNINSTALL_KEY, "DisplayVersion"), NEWER)
        self.assertFalse(self.prompt(timeout=3), "equal versions offer nothing")

        # Uninstall while the calendar and the launcher run, autostart on.
        Session.set_flags(self.folder, x7=True)
        self.end_suite()
        self.session.start(self.folder / "torvo.exe")
        self.assertTrue(self.calendar_running())
        self.assertTrue(self.session.wait_until(lambda: self.session.reg_query(RUN_KEY, "torvane")))
        self.session.run(self.folder / "uninst.exe", "/S")
        gone = lambda: not self.folder.exists() and not {"torvane.exe", "torvo.exe"} & set(self.session.processes())
        self.assertTrue(self.session.wait_until(gone, timeout=30), list(self.folder.glob("*")))
        self.assertFalse(self.shortcut.exists())
        self.assertIsNone(self.session.reg_query(RUN_KEY, "torvane"))
        self.assertIsNone(self.session.reg_query(UNINSTALL_KEY, "DisplayVersion"))

    def installer_page(self, title_part, wanted):
        """The installer's (or uninstaller's) window once its page shows the
        text `wanted`; returns its handle and every text of the page."""
        def page():
            for window in self.session.windows(cls="#32770"):
                if title_part in window["text"]:
                    texts = [child.get("text", "") for child in self.session.tree(window["hwnd"])]
                    if wanted in texts:
                        return window["hwnd"], texts
            return None
        found = self.session.wait_until(page, timeout=60)
        self.assertTrue(found, f"no page showing {wanted!r}")
        return found

    def test_the_installer_speaks_chinese_and_offers_to_start_the_calendar(self):
        self.name_the_standin()
        setup = self.session.start(package(CURRENT))
        hwnd, texts = self.installer_page("安装", "欢迎使用 Torvane 日历 %s 安装程序" % CURRENT)
        self.assertIn("下一步(&N) >", texts)
        self.session.screenshot("installer-welcome")
        self.session.probe("post", hwnd, WM_COMMAND, IDOK, 0)
        _, texts = self.installer_page("安装", "选择安装位置")
        self.assertIn("安装(&I)", texts)
        self.assertIn("C:" + str(self.folder).split("drive_c", 1)[1].replace("/", "\\"), texts)
        self.session.probe("post", hwnd, WM_COMMAND, IDOK, 0)
        _, texts = self.installer_page("安装", "运行 Torvane")
        self.session.screenshot("installer-finish")
        self.assertFalse(self.session.windows(cls=MAIN_CLASS), "the page offers; it has not started yet")
        self.session.probe("post", hwnd, WM_COMMAND, IDOK, 0)  # 完成, with the offer ticked
        self.assertTrue(self.calendar_running(), "the ticked offer starts the calendar")
        self.assertEqual(setup.wait(timeout=60), 0)
        self.assertEqual(self.session.reg_query(UNINSTALL_KEY, "DisplayVersion"), CURRENT)

        # The uninstaller speaks Chinese too.
        self.session.start(self.folder / "uninst.exe")
        hwnd, texts = self.installer_page("卸载", "卸载(&U)")
        self.session.screenshot("uninstaller-confirm")
        self.session.probe("post", hwnd, WM_COMMAND, IDOK, 0)
        gone = lambda: not self.folder.exists() and "torvane.exe" not in self.session.processes()
        self.assertTrue(self.session.wait_until(gone, timeout=60), list(self.folder.glob("*")))

    def test_what_the_version_file_offers(self):
        self.install(CURRENT)
        self.end_suite()
        installed = self.folder / "version.ini"

        # Equal versions: nothing at start-up; the tray item starts the updater anyway.
        self.server.put_file("/tg/version.txt", version_file(self.server.base, CURRENT, f"torvane-setup-{CURRENT}.exe"))
        self.start_calendar()
        self.assertFalse(self.prompt(timeout=3))
        # The calendar's tray icon; a click that comes before the tray took
        # the icon's menu is given again.
        def menu_shown():
            self.session.click(13, 32, button=3)
            return self.session.wait_until(lambda: self.session.windows(cls="#32768"), timeout=5)
        self.assertTrue(self.session.wait_until(menu_shown, timeout=30))
        self.session.key("Up", "Up", "Return")  # 检查更新
        updater = self.session.wait_window(UPDATER_WINDOW)["hwnd"]
        # The element windows follow the window's first showing.
        shown = lambda: self.session.elements(updater)["Label4"]["visible"]
        self.assertTrue(self.session.wait_until(shown, timeout=60),
                        {name: (e["text"], e["visible"]) for name, e in self.session.elements(updater).items()})
        self.assertTrue(self.session.windows(cls=MAIN_CLASS), "the calendar keeps running")
        self.end_suite()

        # Installed 9.0, remote 10.0: offered; No keeps the calendar.
        text = ini_text(self.folder / "set.ini").replace(f"version={CURRENT}", "version=9.0")
        (self.folder / "set.ini").write_bytes(text.encode("gbk"))
        self.server.put_file("/tg/version.txt", version_file(self.server.base, "10.0", "torvane-setup-10.0.exe"))
        self.start_calendar()
        self.answer(IDNO)
        self.assertTrue(self.session.wait_until(lambda: not self.session.windows(title=PROMPT_TITLE)))
        stays = lambda: self.session.windows(cls=MAIN_CLASS) and not self.session.windows(cls=UPDATER_WINDOW)
        self.assertTrue(self.session.holds(stays, seconds=2))
        self.end_suite()

        # A broken answer leaves version.ini (10.0) as it was and offers nothing,
        # though the server's file would offer 11.0.
        text = ini_text(self.folder / "set.ini").replace("version=9.0", "version=10.0")
        (self.folder / "set.ini").write_bytes(text.encode("gbk"))
        before = installed.read_bytes()
        self.server.put_file("/tg/version.txt", version_file(self.server.base, "11.0", "torvane-setup-11.0.exe"))
        for mode in ("404", "500", "cut"):
            self.server.set_fault("/tg/version.txt", mode)
            asked = len(self.server.requests())
            self.start_calendar()
            self.assertTrue(self.session.wait_until(lambda: len(self.server.requests()) > asked), mode)
            self.assertFalse(self.prompt(timeout=2), mode)
            self.assertEqual(installed.read_bytes(), before, mode)
            self.end_suite()
        self.server.set_fault("/tg/version.txt", None)
        self.session.run(self.folder / "uninst.exe", "/S")
        self.session.wait_until(lambda: not self.folder.exists(), timeout=30)


if __name__ == "__main__":
    unittest.main()
