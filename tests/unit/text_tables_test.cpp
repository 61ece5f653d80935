// The six text tables: the loader's splitting and tolerance, and the GBK
// resources the build makes from resources/text/*.txt (read back the way the
// calendar reads them: GBK -> UTF-8, split at CR LF).

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_codec.h"
#include "common/text_tables.h"
#include "engine/clsDate.h"

namespace torvane {
namespace {

// --- Loader -------------------------------------------------------------------

TEST(TextTableLoader, SplitsAtCrLfOnly) {
    const TextTable table = SplitTextTable("one\r\ntwo\rstill two\nstill two\r\n\r\nfour");
    ASSERT_EQ(table.entries.size(), 4u);
    EXPECT_EQ(Entry(table, 0), "one");
    EXPECT_EQ(Entry(table, 1), "two\rstill two\nstill two");
    EXPECT_EQ(Entry(table, 2), "");
    EXPECT_EQ(Entry(table, 3), "four");

    // A trailing separator gives a last, empty entry (the form of table 105).
    const TextTable trailing = SplitTextTable("a\r\nb\r\n");
    ASSERT_EQ(trailing.entries.size(), 3u);
    EXPECT_EQ(Entry(trailing, 2), "");

    EXPECT_TRUE(SplitTextTable("").entries.empty());
    ASSERT_EQ(SplitTextTable("\r\n").entries.size(), 2u);
    // A CR at the very end or an LF at the very start is no separator.
    EXPECT_EQ(SplitTextTable("a\r").entries.size(), 1u);
    EXPECT_EQ(SplitTextTable("\na").entries.size(), 1u);
}

TEST(TextTableLoader, MissingOrShortTablesReadAsEmptyText) {
    const TextTables tables;  // nothing loaded: every resource missing
    for (TextTableId id : kTextTableIds) {
        SCOPED_TRACE(static_cast<int>(id));
        EXPECT_TRUE(tables.Get(id).entries.empty());
        EXPECT_EQ(Entry(tables.Get(id), 0), "");
        EXPECT_EQ(Entry(tables.Get(id), 30), "");
        EXPECT_EQ(Entry(tables.Get(id), static_cast<std::size_t>(-1)), "");
    }

    TextTables loaded;
    loaded.Set(TextTableId::BirthdayByDayOfMonth, "day 1\r\nday 2");
    const TextTable& shortTable = loaded.Get(TextTableId::BirthdayByDayOfMonth);
    EXPECT_EQ(Entry(shortTable, 1), "day 2");
    EXPECT_EQ(Entry(shortTable, 2), "");
    EXPECT_EQ(Entry(shortTable, 30), "");
    // Loading one table leaves the others as they were.
    EXPECT_TRUE(loaded.Get(TextTableId::BirthdayByDate).entries.empty());
    EXPECT_TRUE(loaded.Get(TextTableId::SignProfiles).entries.empty());

    // Loading again replaces the table; an empty resource empties it.
    loaded.Set(TextTableId::BirthdayByDayOfMonth, "");
    EXPECT_EQ(Entry(loaded.Get(TextTableId::BirthdayByDayOfMonth), 0), "");
}

// --- The generated resources ---------------------------------------------------

struct TableFile {
    TextTableId id;
    const char* name;       // resources/text/<id>-<name>.txt
    std::size_t entries;    // after splitting the resource at CR LF
};

constexpr std::array<TableFile, 6> kTables = {{
    {TextTableId::BirthdayByDate, "BirthdayByDate", 366},
    {TextTableId::SignCouples, "SignCouples", 12},
    {TextTableId::ZodiacStories, "ZodiacStories", 12},
    {TextTableId::BirthdayFlowers, "BirthdayFlowers", 366},
    {TextTableId::BirthdayByDayOfMonth, "BirthdayByDayOfMonth", 32},
    {TextTableId::SignProfiles, "SignProfiles", 12},
}};

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ResourcePath(TextTableId id) {
    return std::string(TORVANE_BINARY_DIR) + "/resources/" + std::to_string(static_cast<int>(id)) +
           ".bin";
}

std::string SourcePath(const TableFile& table) {
    return std::string(TORVANE_SOURCE_DIR) + "/resources/text/" +
           std::to_string(static_cast<int>(table.id)) + "-" + table.name + ".txt";
}

// The source's lines, as an editor shows them (final line end optional; a
// checkout with CR LF line ends reads the same).
std::vector<std::string> SourceLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The resource as the calendar reads it.
TextTable LoadResource(TextTableId id) {
    const std::optional<std::string> gbk = ReadBytes(ResourcePath(id));
    if (!gbk) {
        ADD_FAILURE() << ResourcePath(id) << " is missing: build the text_tables target";
        return {};
    }
    return SplitTextTable(GbkToUtf8(*gbk));
}

std::size_t CodePoints(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = text.find(separator);
        fields.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return fields;
        text.remove_prefix(at + 1);
    }
}

struct MonthDay {
    int month;
    int day;
};

// Every date of a leap year, 1 January first.
std::vector<MonthDay> LeapYearDates() {
    std::vector<MonthDay> dates;
    for (int64_t d = DaysFromCivil(2000, 1, 1); d < DaysFromCivil(2001, 1, 1); ++d) {
        const CivilDate c = CivilFromDays(d);
        dates.push_back({c.month, c.day});
    }
    return dates;
}

std::string DatePrefix(MonthDay date) {
    return std::to_string(date.month) + "月" + std::to_string(date.day) + "日：";
}

TEST(TextTableResources, EveryTableHasItsEntryCountAndNoEmptyEntry) {
    for (const TableFile& file : kTables) {
        SCOPED_TRACE(file.name);
        const TextTable table = LoadResource(file.id);
        ASSERT_EQ(table.entries.size(), file.entries);
        const bool trailingEmpty = file.id == TextTableId::BirthdayByDayOfMonth;
        const std::size_t filled = trailingEmpty ? file.entries - 1 : file.entries;
        for (std::size_t i = 0; i < filled; ++i) {
            EXPECT_FALSE(table.entries[i].empty()) << "entry " << i;
        }
        if (trailingEmpty) {
            EXPECT_EQ(table.entries.back(), "");
        }
    }
}

TEST(TextTableResources, EveryEntrySurvivesTheGbkRoundTrip) {
    for (const TableFile& file : kTables) {
        SCOPED_TRACE(file.name);
        const std::optional<std::string> gbk = ReadBytes(ResourcePath(file.id));
        const std::optional<std::string> source = ReadBytes(SourcePath(file));
        ASSERT_TRUE(gbk.has_value()) << "build the text_tables target";
        ASSERT_TRUE(source.has_value());

        // GBK -> UTF-8 -> GBK gives back the very bytes: nothing was replaced.
        const std::string utf8 = GbkToUtf8(*gbk);
        EXPECT_EQ(Utf8ToGbk(utf8), *gbk);
        EXPECT_EQ(SanitizeUtf8(utf8), utf8);

        // And the text read back is the source, line for line.
        const TextTable table = SplitTextTable(utf8);
        const std::vector<std::string> lines = SourceLines(*source);
        ASSERT_LE(lines.size(), table.entries.size());
        for (std::size_t i = 0; i < table.entries.size(); ++i) {
            const std::string& entry = table.entries[i];
            EXPECT_EQ(entry.find_first_of("\r\n"), std::string::npos) << "entry " << i;
            EXPECT_EQ(entry, i < lines.size() ? lines[i] : std::string()) << "entry " << i;
        }
    }
}

TEST(TextTableResources, DateTablesGoThroughALeapYearWithoutRepeating) {
    const std::vector<MonthDay> dates = LeapYearDates();
    ASSERT_EQ(dates.size(), 366u);
    for (TextTableId id : {TextTableId::BirthdayByDate, TextTableId::BirthdayFlowers}) {
        SCOPED_TRACE(static_cast<int>(id));
        const TextTable table = LoadResource(id);
        ASSERT_EQ(table.entries.size(), dates.size());
        std::set<std::string_view> bodies;
        for (std::size_t i = 0; i < dates.size(); ++i) {
            const std::string prefix = DatePrefix(dates[i]);
            const std::string_view entry = table.entries[i];
            ASSERT_TRUE(StartsWith(entry, prefix)) << "entry " << i << " should begin with " << prefix;
            const std::string_view body = entry.substr(prefix.size());
            EXPECT_FALSE(body.empty()) << prefix;
            EXPECT_TRUE(bodies.insert(body).second) << prefix << " repeats another date: " << body;
            if (id == TextTableId::BirthdayFlowers) {
                // flower——meaning
                const std::size_t dash = body.find("——");
                ASSERT_NE(dash, std::string_view::npos) << entry;
                EXPECT_GT(dash, 0u) << entry;
                EXPECT_LT(dash + std::string_view("——").size(), body.size()) << entry;
            }
        }
    }
}

TEST(TextTableResources, EveryYearFindsTheStoryOfItsAnimal) {
    struct Animal {
        std::string_view lead;      // the entry's first character
        std::string_view yearText;  // what the day panel searches for
    };
    constexpr std::array<Animal, 12> kOrder = {{
        {"鼠", "鼠年"}, {"馬", "马年"}, {"牛", "牛年"}, {"羊", "羊年"},
        {"虎", "虎年"}, {"猴", "猴年"}, {"兔", "兔年"}, {"鷄", "鸡年"},
        {"龍", "龙年"}, {"狗", "狗年"}, {"蛇", "蛇年"}, {"豬", "猪年"},
    }};
    const TextTable stories = LoadResource(TextTableId::ZodiacStories);
    ASSERT_EQ(stories.entries.size(), kOrder.size());

    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        const std::string& story = stories.entries[i];
        SCOPED_TRACE(kOrder[i].yearText);
        EXPECT_TRUE(StartsWith(story, kOrder[i].lead));
        EXPECT_NE(story.find(kOrder[i].yearText), std::string::npos);

        // A backslash only ever starts a line-break mark, and the marks sit
        // between paragraphs.
        for (std::size_t at = story.find('\\'); at != std::string::npos;
             at = story.find('\\', at + 1)) {
            EXPECT_EQ(story.compare(at, 2, "\\n"), 0) << "stray backslash at byte " << at;
        }
        EXPECT_FALSE(StartsWith(story, "\\n"));
        EXPECT_FALSE(story.size() >= 2 && story.compare(story.size() - 2, 2, "\\n") == 0);
        EXPECT_EQ(story.find("\\n\\n"), std::string::npos);

        // Every year the story lists is a year of its animal.
        for (std::size_t at = 0; at + 4 <= story.size(); ++at) {
            const std::string_view four = std::string_view(story).substr(at, 4);
            if (four.find_first_not_of("0123456789") != std::string_view::npos) continue;
            const bool longer = (at > 0 && std::isdigit(static_cast<unsigned char>(story[at - 1]))) ||
                                (at + 4 < story.size() &&
                                 std::isdigit(static_cast<unsigned char>(story[at + 4])));
            if (longer) continue;
            const int year = std::stoi(std::string(four));
            EXPECT_EQ(clsDate::YearAttribute(year), kOrder[i].yearText) << "lists " << year;
        }
    }

    // The panel takes the first entry that contains the year's text: another
    // animal's year text earlier in the table would steal the story.
    for (int year = 1900; year <= 2049; ++year) {
        const std::string_view attribute = clsDate::YearAttribute(year);
        std::size_t found = 0;
        while (found < stories.entries.size() &&
               stories.entries[found].find(attribute) == std::string::npos) {
            ++found;
        }
        ASSERT_LT(found, stories.entries.size()) << year << " finds no story";
        EXPECT_EQ(kOrder[found].yearText, attribute) << year << " finds the story of " << kOrder[found].lead;
    }
}

// The sign names in the order the year meets them from 21 March on, as the
// engine names them.
std::vector<std::string_view> SignsFromMarch21() {
    std::vector<std::string_view> signs;
    const int64_t start = DaysFromCivil(2000, 3, 21);
    for (int64_t d = start; d < DaysFromCivil(2001, 3, 21); ++d) {
        const CivilDate c = CivilFromDays(d);
        const std::string_view sign = clsDate::Constellation(c.month, c.day);
        if (signs.empty() || signs.back() != sign) signs.push_back(sign);
    }
    return signs;
}

std::optional<MonthDay> ParseMonthDay(std::string_view text) {
    // "M月D日"
    const std::size_t month = text.find("月");
    const std::size_t day = text.find("日");
    if (month == std::string_view::npos || day == std::string_view::npos || day < month) return {};
    const std::string m(text.substr(0, month));
    const std::string d(text.substr(month + 3, day - month - 3));
    if (m.empty() || d.empty() || m.find_first_not_of("0123456789") != std::string::npos ||
        d.find_first_not_of("0123456789") != std::string::npos || day + 3 != text.size()) {
        return {};
    }
    return MonthDay{std::stoi(m), std::stoi(d)};
}

TEST(TextTableResources, SignTablesFollowTheEnginesSigns) {
    const std::vector<std::string_view> signs = SignsFromMarch21();
    ASSERT_EQ(signs.size(), 12u);

    const TextTable couples = LoadResource(TextTableId::SignCouples);
    ASSERT_EQ(couples.entries.size(), signs.size());
    for (std::size_t i = 0; i < signs.size(); ++i) {
        EXPECT_TRUE(StartsWith(couples.entries[i], std::string(signs[i]) + "座"))
            << "entry " << i << " should be about " << signs[i];
    }

    // name$date range$element$ruling planet$character$lucky colour$lucky number
    const TextTable profiles = LoadResource(TextTableId::SignProfiles);
    ASSERT_EQ(profiles.entries.size(), signs.size());
    for (std::size_t i = 0; i < signs.size(); ++i) {
        SCOPED_TRACE(signs[i]);
        const std::vector<std::string_view> fields = SplitFields(profiles.entries[i], '$');
        ASSERT_EQ(fields.size(), 7u);
        for (std::string_view field : fields) EXPECT_FALSE(field.empty());
        EXPECT_EQ(fields[0], signs[i]);

        const std::size_t to = fields[1].find("至");
        ASSERT_NE(to, std::string_view::npos) << fields[1];
        const std::optional<MonthDay> first = ParseMonthDay(fields[1].substr(0, to));
        const std::optional<MonthDay> last = ParseMonthDay(fields[1].substr(to + 3));
        ASSERT_TRUE(first && last) << fields[1];
        // The range is exactly the sign's: its ends are the sign, the days
        // just outside them are not.
        EXPECT_EQ(clsDate::Constellation(first->month, first->day), signs[i]);
        EXPECT_EQ(clsDate::Constellation(last->month, last->day), signs[i]);
        const CivilDate before = CivilFromDays(DaysFromCivil(2000, first->month, first->day) - 1);
        const CivilDate after = CivilFromDays(DaysFromCivil(2000, last->month, last->day) + 1);
        EXPECT_NE(clsDate::Constellation(before.month, before.day), signs[i]);
        EXPECT_NE(clsDate::Constellation(after.month, after.day), signs[i]);

        // Element and planet agree with the engine's description of the sign.
        const std::string_view attributes = clsDate::Constellation2(first->month, first->day);
        EXPECT_NE(attributes.find(fields[2]), std::string_view::npos) << fields[2];
        EXPECT_NE(attributes.find(fields[3]), std::string_view::npos) << fields[3];
        EXPECT_EQ(fields[6].find_first_not_of("0123456789、"), std::string_view::npos) << fields[6];
    }
}

TEST(TextTableResources, DayOfMonthTextsFitTheirLabel) {
    // L(6) is 240 x 120 pixels: with 12-pixel characters about 20 a line and
    // 8 lines, less what word wrap leaves empty at line ends.
    constexpr std::size_t kMostCharacters = 140;
    const TextTable table = LoadResource(TextTableId::BirthdayByDayOfMonth);
    ASSERT_EQ(table.entries.size(), 32u);
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < 31; ++i) {
        SCOPED_TRACE("day " + std::to_string(i + 1));
        EXPECT_LE(CodePoints(table.entries[i]), kMostCharacters);
        EXPECT_TRUE(seen.insert(table.entries[i]).second) << "same text as another day";
    }
}

}  // namespace
}  // namespace torvane
