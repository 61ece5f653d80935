#include "processes/end_order.h"

#include <algorithm>

namespace torvane {
namespace {

wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

std::wstring_view NameField(std::wstring_view field)
{
    return field.substr(0, field.find(L'\0'));
}

std::vector<ProcessId> ProcessesToEnd(std::span<const ProcessRecord> list, std::wstring_view name,
                                      ProcessId self, NameEquals equals)
{
    std::vector<ProcessId> ids;
    if (name.empty()) {
        return ids;
    }
    bool selfMatches = false;
    for (const ProcessRecord& process : list) {
        if (!equals(process.name, name)) {
            continue;
        }
        if (process.id == self) {
            selfMatches = true;
        } else {
            ids.push_back(process.id);
        }
    }
    if (selfMatches) {
        ids.push_back(self);
    }
    return ids;
}

}  // namespace torvane
