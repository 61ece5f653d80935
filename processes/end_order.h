// Which processes ending a program by name has to end, and in which order.
// The platform adapter takes the process list and ends what this returns.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/ascii_case.h"

namespace torvane {

using ProcessId = std::uint32_t;

struct ProcessRecord {
    ProcessId id = 0;
    std::wstring name;  // executable file name without folder, e.g. torvane.exe
};

// Compares two executable names without regard to letter case. The default
// folds ASCII letters only, enough for the suite's own names; the Windows
// adapter passes the system's own file-name comparison.
using NameEquals = bool (*)(std::wstring_view, std::wstring_view);

// A fixed-size name field of a process record: the text before its first NUL,
// or the whole field when it has none.
std::wstring_view NameField(std::wstring_view field);

// The processes of `list` whose name equals `name`, in list order, except that
// `self` (the caller) comes last: a caller that ends itself at its own place
// in the list would never reach the copies after it. An empty name ends
// nothing.
std::vector<ProcessId> ProcessesToEnd(std::span<const ProcessRecord> list, std::wstring_view name,
                                      ProcessId self, NameEquals equals = EqualsIgnoreAsciiCase);

}  // namespace torvane
