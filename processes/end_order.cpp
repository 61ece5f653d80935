#include "processes/end_order.h"

namespace torvane {

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
