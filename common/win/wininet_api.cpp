#include "common/win/wininet_api.h"

namespace torvane::win {
namespace {

template <class F>
bool Bind(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

WinInetApi Load() {
    WinInetApi api;
    HMODULE module = LoadLibraryExW(L"wininet.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) module = LoadLibraryW(L"wininet.dll");  // systems without the search flags
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
