// WinINet, loaded by the first fetch on its worker thread rather than by the
// program's start: the network stack's libraries then cost a program nothing
// until it goes on the network.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "common/win/unique.h"

namespace torvane::win {

struct WinInetApi {
    decltype(&::InternetOpenW) InternetOpenW = nullptr;
    decltype(&::InternetOpenUrlW) InternetOpenUrlW = nullptr;
    decltype(&::InternetReadFile) InternetReadFile = nullptr;
    decltype(&::HttpQueryInfoW) HttpQueryInfoW = nullptr;
    decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;

    // The functions, or null when the library cannot be loaded. Safe from
    // any thread; the library stays loaded for the program's life.
    static const WinInetApi* Get();
};

void CloseInternetHandle(HINTERNET handle);
using UniqueInternet = Unique<HINTERNET, CloseInternetHandle>;

}  // namespace torvane::win
