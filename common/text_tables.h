// The six text tables the calendar carries as resources 101..106. Each
// resource is GBK text whose entries are separated by CR LF; after the GBK
// port has turned it into UTF-8, SplitTextTable cuts it into entries.
//
// A table that could not be loaded stays empty, and a table shorter than
// expected simply has fewer entries: Entry() reads every missing entry as the
// empty text, so no caller indexes outside a table.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

enum class TextTableId : int {
    BirthdayByDate = 101,        // 366 entries, 1 January .. 31 December (with 29 February)
    SignCouples = 102,           // 12 entries, one per western sign from the one of 21 March
    ZodiacStories = 103,         // 12 entries, "\n" (backslash, n) marks a line break
    BirthdayFlowers = 104,       // 366 entries, one per calendar date
    BirthdayByDayOfMonth = 105,  // 31 entries, then an empty one
    SignProfiles = 106,          // 12 entries, fields separated by "$"
};

inline constexpr std::array<TextTableId, 6> kTextTableIds = {
    TextTableId::BirthdayByDate, TextTableId::SignCouples,          TextTableId::ZodiacStories,
    TextTableId::BirthdayFlowers, TextTableId::BirthdayByDayOfMonth, TextTableId::SignProfiles,
};

struct TextTable {
    std::vector<std::string> entries;
};

// Splits at every CR LF: "a\r\nb" gives {"a", "b"}, "a\r\n" gives {"a", ""},
// the empty text gives no entries. A lone CR or LF stays inside its entry.
TextTable SplitTextTable(std::string_view utf8);

// Entry i of the table, or "" when the table has no such entry.
std::string_view Entry(const TextTable& table, std::size_t i);

// The six tables of the main window, addressed by resource identifier. All
// start empty; Set replaces one table with the entries of a loaded text.
class TextTables {
public:
    void Set(TextTableId id, std::string_view utf8) { tables_[Index(id)] = SplitTextTable(utf8); }
    const TextTable& Get(TextTableId id) const { return tables_[Index(id)]; }

private:
    static std::size_t Index(TextTableId id) {
        return static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(TextTableId::BirthdayByDate));
    }
    std::array<TextTable, kTextTableIds.size()> tables_;
};

}  // namespace torvane
