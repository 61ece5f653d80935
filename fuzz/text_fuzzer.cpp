// Smaller parsers of outside text: the text tables' splitter (resource
// bytes), the numeral writer (any text), the start decision (the command
// line) and the cut of tray texts to the icon record's fields.
//
// Input: any bytes, given whole to each of them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/constants.h"
#include "calendar/startup.h"
#include "calendar/tray.h"
#include "common/program_names.h"
#include "common/text_codec.h"
#include "common/text_tables.h"
#include "engine/clsDate.h"
#include "fuzz/fuzz_check.h"

namespace {

using torvane::calendar::StartAction;

bool IsWellFormedUtf8(std::string_view text)
{
    return torvane::SanitizeUtf8(text) == text;
}

void CheckTextTable(std::string_view text)
{
    const torvane::TextTable table = torvane::SplitTextTable(text);
    FUZZ_CHECK(table.entries.empty() == text.empty());
    std::string joined;
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        FUZZ_CHECK(table.entries[i].find("\r\n") == std::string::npos);
        FUZZ_CHECK(torvane::Entry(table, i) == table.entries[i]);
        joined += i == 0 ? "" : "\r\n";
        joined += table.entries[i];
    }
    FUZZ_CHECK(joined == text);
    FUZZ_CHECK(torvane::Entry(table, table.entries.size()).empty());

    torvane::TextTables tables;
    tables.Set(torvane::TextTableId::SignProfiles, text);
    FUZZ_CHECK(tables.Get(torvane::TextTableId::SignProfiles).entries == table.entries);
    FUZZ_CHECK(tables.Get(torvane::TextTableId::BirthdayByDate).entries.empty());
}

void CheckUpNumber(std::string_view text)
{
    static constexpr std::array<std::string_view, 15> kNumerals = {
        "零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "百", "千", "万", "亿"};
    const std::string number = torvane::clsDate::UpNumber(text);
    FUZZ_CHECK(IsWellFormedUtf8(number));
    // Nothing but numerals, whatever the text held.
    std::string_view rest = number;
    while (!rest.empty()) {
        bool known = false;
        for (std::string_view numeral : kNumerals) {
            if (rest.starts_with(numeral)) {
                rest.remove_prefix(numeral.size());
                known = true;
                break;
            }
        }
        FUZZ_CHECK(known);
    }
    // Surrounding spaces do not count.
    FUZZ_CHECK(torvane::clsDate::UpNumber(" " + std::string(text) + " ") == number);
}

class CountingShell final : public torvane::calendar::Shell {
public:
    void OpenWebPage(std::string_view address) override
    {
        ++opened;
        last = address;
    }
    int opened = 0;
    std::string last;
};

void CheckStart(std::string_view commandLine)
{
    const bool blank = commandLine.find_first_not_of(" \t\r\n") == std::string_view::npos;
    const StartAction action = torvane::calendar::DecideStart(commandLine);
    FUZZ_CHECK((action == StartAction::OpenHomePageAndEnd) == blank);

    CountingShell shell;
    const bool showWindow = torvane::calendar::RunMain(commandLine, shell, "http://127.0.0.1/");
    FUZZ_CHECK(showWindow == !blank);
    FUZZ_CHECK(shell.opened == (blank ? 1 : 0));
    FUZZ_CHECK(!blank || shell.last == "http://127.0.0.1/");

    if (const auto value = torvane::calendar::MakeAutostartValue(commandLine)) {
        FUZZ_CHECK(!value->name.empty());
        FUZZ_CHECK(value->name.find_first_of("\\/") == std::string::npos);
        FUZZ_CHECK(value->data == "\"" + std::string(commandLine) + "\" " +
                                      std::string(torvane::kAutostartArgument));
    }
}

// Where a reader that replaces each malformed byte on its own (as every
// conversion here does) sees characters start.
std::vector<bool> CharacterStarts(std::string_view text)
{
    std::vector<bool> starts(text.size() + 1, false);
    std::size_t at = 0;
    while (at < text.size()) {
        starts[at] = true;
        const std::size_t length = torvane::Utf8SequenceLength(text.substr(at));
        at += length == 0 ? 1 : length;
    }
    starts[text.size()] = true;
    return starts;
}

// The field rule: one byte for ASCII, two for any other character.
std::size_t CountedBytes(std::string_view text)
{
    std::size_t bytes = 0;
    const std::vector<bool> starts = CharacterStarts(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (starts[i]) {
            bytes += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : 2;
        }
    }
    return bytes;
}

void CheckCut(std::string_view text, std::size_t field, const std::vector<bool>& starts)
{
    const std::string cut = torvane::calendar::CutToAnsiField(text, field);
    FUZZ_CHECK(text.starts_with(cut));
    FUZZ_CHECK(starts[cut.size()]);
    FUZZ_CHECK(cut.find('\0') == std::string::npos);
    if (field == 0) {
        FUZZ_CHECK(cut.empty());
        return;
    }
    // With its NUL it fits the field, as GBK and as UTF-16 code units.
    FUZZ_CHECK(torvane::Utf8ToGbk(cut).size() + 1 <= field);
    FUZZ_CHECK(torvane::Utf8ToUtf16(cut).size() + 1 <= field);
    FUZZ_CHECK(CountedBytes(cut) + 1 <= field);
    // And is cut no shorter than it has to be.
    if (cut.size() < text.size() && text[cut.size()] != '\0') {
        std::size_t next = cut.size() + 1;
        while (!starts[next]) {
            ++next;
        }
        FUZZ_CHECK(CountedBytes(text.substr(0, next)) + 1 > field);
    }
}

void CheckCuts(std::string_view text)
{
    const std::vector<bool> starts = CharacterStarts(text);
    const std::size_t small = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
    for (std::size_t field : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}, small,
                              torvane::calendar::kTrayInfoTitleBytes,
                              torvane::calendar::kTrayTipBytes, torvane::calendar::kTrayInfoBytes}) {
        CheckCut(text, field, starts);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckTextTable(text);
    CheckUpNumber(text);
    CheckStart(text);
    CheckCuts(text);
    return 0;
}
