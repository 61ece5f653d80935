#include "processes/win/end_processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "processes/end_order.h"
#include "common/win/unique.h"

namespace torvane::win {
namespace {

constexpr UINT kEndedExitCode = 0;

// File names compare the way the file system does: ordinal, case-blind.
bool SameFileName(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The running processes, or none when the list cannot be taken.
std::vector<ProcessRecord> ProcessList()
{
    std::vector<ProcessRecord> list;
    HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (raw == INVALID_HANDLE_VALUE) {
        return list;
    }
    UniqueHandle snapshot(raw);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        const std::wstring_view field(entry.szExeFile, std::size(entry.szExeFile));
        list.push_back({entry.th32ProcessID, std::wstring(NameField(field))});
    }
    return list;
}

void EndProcess(ProcessId id)
{
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    if (process) {
        TerminateProcess(process.get(), kEndedExitCode);
    }
}

}  // namespace

void EndProcessesByName(std::wstring_view name)
{
    const std::vector<ProcessRecord> list = ProcessList();
    for (ProcessId id : ProcessesToEnd(list, name, GetCurrentProcessId(), SameFileName)) {
        EndProcess(id);
    }
}

}  // namespace torvane::win
