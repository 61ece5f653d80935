// A small probe the end-to-end tests run beside the programs under test: it
// finds windows, reads their geometry and their controls' texts, sends
// clicks and messages, and lists processes. Output is one JSON object per
// line, UTF-8, so the Python harness can parse it.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
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

// The element name the calendar stores on its element windows as a global
// atom, or "" for windows without one.
std::wstring NameOf(HWND h) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, L"TorvaneName")));
    wchar_t buf[256] = {};
    if (atom == 0 || GlobalGetAtomNameW(atom, buf, static_cast<int>(std::size(buf))) == 0) return {};
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
    char head[200];
    std::snprintf(head, sizeof head,
                  "{\"hwnd\":%llu,\"id\":%d,\"pid\":%lu,\"owner\":%llu,\"visible\":%d,\"enabled\":%d,",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)), GetDlgCtrlID(h), pid,
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetWindow(h, GW_OWNER))),
                  IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0);
    return std::string(head) + "\"class\":" + Json(ClassOf(h)) + ",\"name\":" + Json(NameOf(h)) +
           ",\"text\":" + Json(WindowText(h)) + ",\"rect\":" + RectJson(r) + ",\"client\":" + RectJson(c) +
           "}";
}

struct FindArgs {
    std::wstring cls, title;
    DWORD pid = 0;
    HWND owner = nullptr;
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
                 "probe tooltips HWND   (the tooltips the window owns and their tools)\n"
                 "probe ping HWND MS LIMIT_MS   (message answers for MS ms; slower than LIMIT_MS: unanswered)\n"
                 "probe post HWND MSG WPARAM LPARAM\n"
                 "probe send HWND MSG WPARAM LPARAM\n"
                 "probe click HWND X Y [right]   (client coordinates, posted)\n"
                 "probe waitshown CLASS TIMEOUT_MS\n"
                 "probe waitpointer X Y VK DOWN TIMEOUT_MS   (Wine has the pointer there, button VK down 1/up 0)\n"
                 "probe combo HWND   (a combo box's entries, selection and open state)\n"
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
    // A first line says the search runs: the caller starts the program then.
    std::printf("{\"waiting\":true}\n");
    std::fflush(stdout);
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

// Memory in another process: comctl32 messages carry pointers that are not
// marshalled, so their records must live in the receiver's address space.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                                PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* at() const { return static_cast<char*>(at_); }
    bool Write(size_t offset, const void* data, size_t size) const {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, at() + offset, data, size, &done) && done == size;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, at() + offset, data, size, &done) && done == size;
    }

private:
    HANDLE process_;
    void* at_;
};

// What one tooltip tool of another process says: the record and its text.
struct RemoteTool {
    TTTOOLINFOW info{};
    std::wstring text;
};

// The tooltip copies up to INFOTIPSIZE characters into the caller's buffer.
constexpr size_t kTipChars = INFOTIPSIZE;

bool EnumRemoteTool(HWND tooltip, const RemoteBlock& block, UINT index, RemoteTool& tool) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.lpszText = reinterpret_cast<wchar_t*>(block.at() + sizeof info);
    std::vector<wchar_t> text(kTipChars + 1, L'\0');
    if (!block.Write(0, &info, sizeof info) || !block.Write(sizeof info, text.data(), text.size() * sizeof(wchar_t)))
        return false;
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(block.at()),
                             SMTO_ABORTIFHUNG, 5000, &ok) || !ok)
        return false;
    if (!block.Read(0, &tool.info, sizeof tool.info) ||
        !block.Read(sizeof info, text.data(), kTipChars * sizeof(wchar_t)))
        return false;
    tool.text = text.data();
    return true;
}

BOOL CALLBACK CollectTooltips(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<FindArgs*>(lp);
    if (ClassOf(h) == TOOLTIPS_CLASSW && GetWindow(h, GW_OWNER) == a->owner) a->found.push_back(h);
    return TRUE;
}

// Every tooltip window the window owns, then each of its tools: text, id,
// rectangle in the tool window's client pixels and on the screen.
int Tooltips(HWND owner) {
    if (!IsWindow(owner)) return 1;
    FindArgs a;
    a.owner = owner;
    EnumWindows(CollectTooltips, reinterpret_cast<LPARAM>(&a));
    int rc = a.found.empty() ? 1 : 0;
    for (HWND tooltip : a.found) {
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        std::printf("{\"tooltip\":%llu,\"visible\":%d,\"count\":%llu}\n",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(tooltip)),
                    IsWindowVisible(tooltip) ? 1 : 0, static_cast<unsigned long long>(count));
        DWORD pid = 0;
        GetWindowThreadProcessId(tooltip, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process) {
            rc = 1;
            continue;
        }
        {
            RemoteBlock block(process, sizeof(TTTOOLINFOW) + (kTipChars + 1) * sizeof(wchar_t));
            for (UINT i = 0; block.at() && i < count; ++i) {
                RemoteTool tool;
                if (!EnumRemoteTool(tooltip, block, i, tool)) {
                    rc = 1;
                    continue;
                }
                RECT screen = tool.info.rect;
                MapWindowPoints(tool.info.hwnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
                std::printf("{\"tooltip\":%llu,\"index\":%u,\"uId\":%llu,\"hwnd\":%llu,\"flags\":%u,"
                            "\"rect\":%s,\"screen\":%s,\"text\":%s}\n",
                            static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(tooltip)), i,
                            static_cast<unsigned long long>(tool.info.uId),
                            static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(tool.info.hwnd)),
                            tool.info.uFlags, RectJson(tool.info.rect).c_str(), RectJson(screen).c_str(),
                            Json(tool.text).c_str());
            }
            if (!block.at()) rc = 1;
        }
        CloseHandle(process);
    }
    return rc;
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

// A combo box's list through the list messages: the count, the selection,
// whether it is open and every entry.
int ComboItems(HWND h) {
    DWORD_PTR count = 0, selection = 0, dropped = 0;
    if (!SendMessageTimeoutW(h, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return 1;
    SendMessageTimeoutW(h, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
    SendMessageTimeoutW(h, CB_GETDROPPEDSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &dropped);
    std::string items;
    for (DWORD_PTR i = 0; i < count; ++i) {
        wchar_t buf[512] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(h, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
        if (length < std::size(buf))
            SendMessageTimeoutW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &length);
        items += (i ? "," : "") + Json(buf);
    }
    std::printf("{\"count\":%lld,\"selection\":%lld,\"dropped\":%d,\"items\":[%s]}\n",
                static_cast<long long>(count), static_cast<long long>(static_cast<LRESULT>(selection)),
                dropped ? 1 : 0, items.c_str());
    return 0;
}

}  // namespace

// Asks the window for a message answer every 50 ms for `ms`; an answer that
// takes longer than `limitMs` counts as unanswered: its thread was blocked.
int Ping(HWND h, int ms, UINT limitMs) {
    if (!IsWindow(h)) return 1;
    int pings = 0, unanswered = 0;
    DWORD slowest = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(ms)) {
        const DWORD before = GetTickCount();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, limitMs, &result)) ++unanswered;
        slowest = std::max(slowest, GetTickCount() - before);
        ++pings;
        Sleep(50);
    }
    std::printf("{\"pings\":%d,\"unanswered\":%d,\"slowest_ms\":%lu}\n", pings, unanswered, slowest);
    return 0;
}

// Waits until Wine has the pointer at (x, y) and, for a button's virtual key
// other than 0, that button down (1) or up (0): the input a test made has
// reached Wine's input state. Prints where the pointer is and whether the
// wait ended in time.
int WaitPointer(int x, int y, int vk, bool down, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    POINT at{};
    bool reached = false;
    for (;;) {
        GetCursorPos(&at);
        const bool pressed = vk != 0 && (GetAsyncKeyState(vk) & 0x8000) != 0;
        reached = at.x == x && at.y == y && (vk == 0 || pressed == down);
        if (reached || GetTickCount() - start >= timeoutMs) break;
        Sleep(10);
    }
    std::printf("{\"x\":%ld,\"y\":%ld,\"reached\":%s}\n", at.x, at.y, reached ? "true" : "false");
    return reached ? 0 : 1;
}

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
    } else if (cmd == L"tooltips" && argc >= 3) {
        rc = Tooltips(HwndArg(argv[2]));
    } else if (cmd == L"ping" && argc >= 5) {
        rc = Ping(HwndArg(argv[2]), _wtoi(argv[3]), static_cast<UINT>(_wtoi(argv[4])));
    } else if (cmd == L"combo" && argc >= 3) {
        rc = ComboItems(HwndArg(argv[2]));
    } else if (cmd == L"waitpointer" && argc >= 7) {
        rc = WaitPointer(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]) != 0,
                         static_cast<DWORD>(_wtoi(argv[6])));
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
