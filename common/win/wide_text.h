// UTF-16 (wchar_t) conversions for the Win32 layer.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// For GBK resources and ANSI records the platform hands over.
std::wstring GbkToWide(std::string_view gbk);
std::string WideToGbk(std::wstring_view wide);

}  // namespace torvane
