#include "common/text_tables.h"

namespace torvane {

TextTable SplitTextTable(std::string_view utf8) {
    TextTable table;
    if (utf8.empty()) return table;
    constexpr std::string_view kSeparator = "\r\n";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = utf8.find(kSeparator, start);
        if (end == std::string_view::npos) {
            table.entries.emplace_back(utf8.substr(start));
            return table;
        }
        table.entries.emplace_back(utf8.substr(start, end - start));
        start = end + kSeparator.size();
    }
}

std::string_view Entry(const TextTable& table, std::size_t i) {
    return i < table.entries.size() ? std::string_view(table.entries[i]) : std::string_view();
}

}  // namespace torvane
