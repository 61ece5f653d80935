// set.ini and version.ini come from disk, where anyone may have edited them.
// Whatever the bytes, the document must read without crashing, give back
// every byte it does not change, and read back what it writes.
//
// Input: a section, a key and a value (FuzzedDataProvider strings: each ends
// at a backslash followed by another character), then the file's bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/ascii_case.h"
#include "common/ini_document.h"
#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"

namespace {

using torvane::EqualsIgnoreAsciiCase;
using torvane::ini::FileEncoding;
using torvane::ini::IniDocument;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::size_t kMaxProbes = 24;

struct Name {
    std::string section;
    std::string key;
};

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// How the store looks a name up: up to a NUL, trimmed, ASCII case folded.
bool SameName(std::string_view a, std::string_view b)
{
    return EqualsIgnoreAsciiCase(Trim(a.substr(0, a.find('\0'))), Trim(b.substr(0, b.find('\0'))));
}

bool SameEntry(const Name& a, const Name& b)
{
    return SameName(a.section, b.section) && SameName(a.key, b.key);
}

// The file's lines, each with its own line break.
std::vector<std::string_view> Lines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return lines;
}

// Sections and keys as they stand in the file, so that writes also hit keys
// that exist. A rough reading is enough: these are only names to try.
std::vector<Name> NamesInFile(std::string_view bytes)
{
    const bool utf8 = bytes.starts_with(kUtf8Bom);
    const auto decode = [utf8](std::string_view raw) {
        return utf8 ? std::string(raw) : torvane::GbkToUtf8(raw);
    };
    std::vector<Name> names;
    std::string section;
    for (std::string_view line : Lines(bytes)) {
        const std::string_view text = Trim(line.substr(0, line.find_first_of("\r\n")));
        if (text.starts_with('[')) {
            const std::size_t close = text.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                section = decode(text.substr(1, close - 1));
            }
        } else if (const std::size_t assign = text.find('=');
                   assign != std::string_view::npos && !text.starts_with(';')) {
            names.push_back({section, decode(text.substr(0, assign))});
            if (names.size() == kMaxProbes) {
                break;
            }
        }
    }
    return names;
}

// A value comes back exactly as written unless the store trims it, strips
// its quotes or cannot encode it.
bool ReadsBackAsWritten(const IniDocument& doc, std::string_view value)
{
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    const bool encodable = doc.encoding() == FileEncoding::Utf8 ||
                           torvane::GbkToUtf8(torvane::Utf8ToGbk(value)) == value;
    return torvane::SanitizeUtf8(value) == value && Trim(value) == value && !quoted &&
           encodable && value.size() <= torvane::ini::kMaxValueChars;
}

// One Set changes only the text after '=' of the key's own line, or inserts
// the key's line (after its section header when that is new, at the end);
// an unterminated line before an insertion gains its line break. Every other
// line, understood or not, stays byte for byte.
bool ChangedOnlyAsASetMay(std::string_view before, std::string_view after)
{
    const std::vector<std::string_view> old = Lines(before);
    const std::vector<std::string_view> now = Lines(after);
    if (now.size() == old.size()) {
        std::size_t changed = 0;
        for (std::size_t i = 0; i < old.size(); ++i) {
            if (old[i] == now[i]) {
                continue;
            }
            const std::size_t assign = old[i].find('=');
            if (++changed > 1 || assign == std::string_view::npos ||
                !now[i].starts_with(old[i].substr(0, assign + 1)) || !now[i].ends_with("\r\n")) {
                return false;
            }
        }
        return true;
    }
    if (now.size() < old.size() || now.size() > old.size() + 2) {
        return false;
    }
    const std::size_t added = now.size() - old.size();
    std::size_t at = 0;
    while (at < old.size() && old[at] == now[at]) {
        ++at;
    }
    if (at + 1 == old.size() && !old[at].ends_with('\n') &&
        now[at] == std::string(old[at]) + "\r\n") {
        ++at;
    }
    if (added == 2 && at != old.size()) {
        return false;
    }
    for (std::size_t i = at; i < at + added; ++i) {
        if (!now[i].ends_with("\r\n")) {
            return false;
        }
    }
    for (std::size_t i = at; i < old.size(); ++i) {
        if (old[i] != now[i + added]) {
            return false;
        }
    }
    return true;
}

void CheckFindResult(const std::optional<std::string>& value)
{
    if (value) {
        FUZZ_CHECK(torvane::SanitizeUtf8(*value) == *value);
        FUZZ_CHECK(value->find('\0') == std::string::npos);
    }
}

std::vector<std::optional<std::string>> ReadAll(const IniDocument& doc,
                                                const std::vector<Name>& probes)
{
    std::vector<std::optional<std::string>> values;
    for (const Name& probe : probes) {
        values.push_back(doc.Find(probe.section, probe.key));
        CheckFindResult(values.back());
    }
    return values;
}

bool IsPlainName(std::string_view name)
{
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

void CheckSet(IniDocument& doc, const Name& name, std::string_view value,
              const std::vector<Name>& probes)
{
    const std::string before = doc.Serialize();
    const std::vector<std::optional<std::string>> valuesBefore = ReadAll(doc, probes);
    const bool stored = doc.Set(name.section, name.key, value);
    const std::string after = doc.Serialize();

    if (doc.encoding() != FileEncoding::Unsupported && IsPlainName(name.section) &&
        IsPlainName(name.key)) {
        FUZZ_CHECK(stored);
    }
    if (!stored) {
        FUZZ_CHECK(after == before);
        return;
    }
    FUZZ_CHECK(doc.encoding() != FileEncoding::Unsupported);

    // The value reads back.
    const std::string_view written = value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
    const std::optional<std::string> readBack = doc.Find(name.section, name.key);
    FUZZ_CHECK(readBack.has_value());
    CheckFindResult(readBack);
    if (ReadsBackAsWritten(doc, written)) {
        FUZZ_CHECK(*readBack == written);
    }

    // No other entry changed, and no other line.
    const std::vector<std::optional<std::string>> valuesAfter = ReadAll(doc, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        if (!SameEntry(probes[i], name)) {
            FUZZ_CHECK(valuesAfter[i] == valuesBefore[i]);
        }
    }
    const std::size_t bom = doc.encoding() == FileEncoding::Utf8 ? kUtf8Bom.size() : 0;
    FUZZ_CHECK(before.substr(0, bom) == after.substr(0, bom));
    FUZZ_CHECK(ChangedOnlyAsASetMay(std::string_view(before).substr(bom),
                                    std::string_view(after).substr(bom)));

    // The written file reads as the document in memory does.
    const IniDocument reread = IniDocument::Parse(after);
    FUZZ_CHECK(reread.Serialize() == after);
    FUZZ_CHECK(reread.encoding() == doc.encoding());
    FUZZ_CHECK(reread.Find(name.section, name.key) == readBack);
    FUZZ_CHECK(ReadAll(reread, probes) == valuesAfter);

    // Writing the same value again changes nothing.
    FUZZ_CHECK(doc.Set(name.section, name.key, value));
    FUZZ_CHECK(doc.Serialize() == after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Name given;
    given.section = input.ConsumeRandomLengthString(64);
    given.key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(256);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    IniDocument doc = IniDocument::Parse(bytes);
    FUZZ_CHECK(doc.Serialize() == bytes);

    std::vector<Name> probes = NamesInFile(bytes);
    const std::optional<Name> existing =
        probes.empty() ? std::nullopt : std::optional<Name>(probes[value.size() % probes.size()]);
    probes.push_back(given);
    ReadAll(doc, probes);

    CheckSet(doc, given, value, probes);
    if (existing) {
        CheckSet(doc, *existing, value, probes);
    }
    return 0;
}
