// A system library loaded at first use, and its functions bound by name:
// what the programs need only on some paths (the network, signatures) then
// costs their start nothing.
#pragma once

#include <windows.h>

namespace torvane::win {

// From the system folder only, so a file of that name beside the programs is
// never loaded in its place; null when it cannot be loaded.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? module : LoadLibraryW(name);  // systems without the search flags
}

template <class F>
bool Bind(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

}  // namespace torvane::win
