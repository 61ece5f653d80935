// A small probe the end-to-end tests run beside the programs under test: it
// finds windows, reads their geometry and their controls' texts, sends
// clicks and messages, and lists processes. Output is one JSON object per
// line, UTF-8, so the Python harness can parse it.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::string Json(const std::wstring& w) {
    std::string out = "\"";
    for (unsigned char c : Utf8(w)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::wstring WindowText(HWND h) {
    wchar_t buf[8192] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &got);
    return buf;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

std::string RectJson(const RECT& r) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::string WindowJson(HWND h) {
    RECT r{}, c{};
    GetWindowRect(h, &r);
    GetClientRect(h, &c);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char head[160];
    std::snprintf(head, sizeof head, "{\"hwnd\":%llu,\"id\":%d,\"pid\":%lu,\"visible\":%d,\"enabled\":%d,",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)),
                  GetDlgCtrlID(h), pid, IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0);
    return std::string(head) + "\"class\":" + Json(ClassOf(h)) + ",\"text\":" + Json(WindowText(h)) +
           ",\"rect\":" + RectJson(r) + ",\"client\":" + RectJson(c) + "}";
}

struct FindArgs {
    std::wstring cls, title;
    DWORD pid = 0;
    bool visibleOnly = true;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<FindArgs*>(lp);
    if (a->visibleOnly && !IsWindowVisible(h)) return TRUE;
    if (!a->cls.empty() && ClassOf(h) != a->cls) return TRUE;
    if (!a->title.empty() && WindowText(h) != a->title) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (a->pid && pid != a->pid) return TRUE;
    a->found.push_back(h);
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND h, LPARAM) {
    std::printf("%s\n", WindowJson(h).c_str());
    return TRUE;
}

HWND HwndArg(const wchar_t* s) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(_wcstoui64(s, nullptr, 10))); }

int Usage() {
    std::fprintf(stderr,
                 "probe windows [--class C] [--title T] [--all] [--wait MS]\n"
                 "probe tree HWND\n"
                 "probe post HWND MSG WPARAM LPARAM\n"
                 "probe send HWND MSG WPARAM LPARAM\n"
                 "probe click HWND X Y [right]   (client coordinates, posted)\n"
                 "probe waitshown CLASS TIMEOUT_MS\n"
                 "probe codepage\n"
                 "probe procs\n");
    return 2;
}

int Windows(int argc, wchar_t** argv) {
    FindArgs a;
    DWORD waitMs = 0;
    for (int i = 2; i < argc; ++i) {
        std::wstring k = argv[i];
        bool hasValue = i + 1 < argc;
        if (k == L"--all") a.visibleOnly = false;
        else if (k == L"--class" && hasValue) a.cls = argv[++i];
        else if (k == L"--title" && hasValue) a.title = argv[++i];
        else if (k == L"--pid" && hasValue) a.pid = static_cast<DWORD>(_wtoi(argv[++i]));
        else if (k == L"--wait" && hasValue) waitMs = static_cast<DWORD>(_wtoi(argv[++i]));
    }
    DWORD start = GetTickCount();
    for (;;) {
        a.found.clear();
        EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&a));
        if (!a.found.empty() || GetTickCount() - start >= waitMs) break;
        Sleep(50);
    }
    for (HWND h : a.found) std::printf("%s\n", WindowJson(h).c_str());
    return a.found.empty() ? 1 : 0;
}

// Waits for a visible window of a class and prints when it appeared, in
// milliseconds since 1970, so a benchmark can compare it with the start time.
int WaitShown(const wchar_t* cls, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND h = FindWindowW(cls, nullptr);
        if (h && IsWindowVisible(h)) {
            FILETIME ft;
            GetSystemTimeAsFileTime(&ft);
            ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
            constexpr ULONGLONG kUnixEpochIn100ns = 116444736000000000ULL;
            std::printf("{\"shown_unix_ms\":%llu}\n", (t - kUnixEpochIn100ns) / 10000);
            return 0;
        }
        Sleep(2);
    }
    return 1;
}

int Procs() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 1;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        std::printf("{\"pid\":%lu,\"name\":%s}\n", e.th32ProcessID, Json(e.szExeFile).c_str());
    CloseHandle(snap);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring cmd = argv[1];
    int rc = 0;
    if (cmd == L"windows") {
        rc = Windows(argc, argv);
    } else if (cmd == L"tree" && argc >= 3) {
        HWND h = HwndArg(argv[2]);
        if (!IsWindow(h)) return 1;
        std::printf("%s\n", WindowJson(h).c_str());
        EnumChildWindows(h, PrintChild, 0);
    } else if ((cmd == L"post" || cmd == L"send") && argc >= 6) {
        HWND h = HwndArg(argv[2]);
        UINT msg = static_cast<UINT>(wcstoul(argv[3], nullptr, 0));
        WPARAM wp = static_cast<WPARAM>(_wcstoui64(argv[4], nullptr, 0));
        LPARAM lp = static_cast<LPARAM>(_wcstoi64(argv[5], nullptr, 0));
        if (cmd == L"post") {
            rc = PostMessageW(h, msg, wp, lp) ? 0 : 1;
        } else {
            DWORD_PTR result = 0;
            rc = SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : 1;
            std::printf("{\"result\":%lld}\n", static_cast<long long>(result));
        }
    } else if (cmd == L"click" && argc >= 5) {
        HWND h = HwndArg(argv[2]);
        LPARAM pos = MAKELPARAM(_wtoi(argv[3]), _wtoi(argv[4]));
        bool right = argc >= 6 && std::wstring(argv[5]) == L"right";
        PostMessageW(h, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, pos);
        PostMessageW(h, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, pos);
    } else if (cmd == L"waitshown" && argc >= 4) {
        rc = WaitShown(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    } else if (cmd == L"codepage") {
        std::printf("{\"acp\":%u,\"oemcp\":%u}\n", GetACP(), GetOEMCP());
    } else if (cmd == L"procs") {
        rc = Procs();
    } else {
        return Usage();
    }
    std::fflush(stdout);
    return rc;
}
