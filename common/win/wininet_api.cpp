#include "common/win/wininet_api.h"

#include "common/win/system_library.h"

namespace torvane::win {
namespace {

WinInetApi Load() {
    WinInetApi api;
    HMODULE module = LoadSystemLibrary(L"wininet.dll");
    if (!module) return {};
    const bool bound = Bind(module, "InternetOpenW", api.InternetOpenW) &&
                       Bind(module, "InternetOpenUrlW", api.InternetOpenUrlW) &&
                       Bind(module, "InternetReadFile", api.InternetReadFile) &&
                       Bind(module, "HttpQueryInfoW", api.HttpQueryInfoW) &&
                       Bind(module, "InternetCloseHandle", api.InternetCloseHandle);
    return bound ? api : WinInetApi{};
}

}  // namespace

const WinInetApi* WinInetApi::Get() {
    static const WinInetApi api = Load();  // initialised once, also across threads
    return api.InternetOpenW ? &api : nullptr;
}

void CloseInternetHandle(HINTERNET handle) {
    if (const WinInetApi* api = WinInetApi::Get()) api->InternetCloseHandle(handle);
}

}  // namespace torvane::win
