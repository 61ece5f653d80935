#include "common/win/shell.h"

#include <shellapi.h>

namespace torvane::win {

void OpenWebPage(HWND owner, const std::wstring& address) {
    ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace torvane::win
