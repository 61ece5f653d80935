#include "common/ini_document.h"

#include "common/ascii_case.h"
#include "common/text_codec.h"

namespace torvane::ini {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kNewLineEnd = "\r\n";
// What the Windows profile functions trim around names and values.
constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kValueStops{"\0\r\n", 3};
constexpr char kCommentMark = ';';
constexpr char kSectionOpen = '[';
constexpr char kSectionClose = ']';
constexpr char kAssign = '=';

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string_view CutAtNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

// Names are looked up as the profile functions do: trimmed, up to a NUL.
std::string_view CleanName(std::string_view name)
{
    return Trim(CutAtNul(name));
}

// A value in matching single or double quotes is returned without them.
std::string_view StripQuotes(std::string_view value)
{
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// `utf8` is well-formed; cuts it after `maxChars` characters.
std::string CapCharacters(std::string utf8, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
        if (startsCharacter && chars++ == maxChars) {
            utf8.resize(i);
            break;
        }
    }
    return utf8;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes)
{
    IniDocument doc;
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
        doc.encoding_ = FileEncoding::Unsupported;
        doc.lines_.push_back(Line{std::string(bytes), "", LineKind::Other, {}, {}});
        return doc;
    }
    if (bytes.starts_with(kUtf8Bom)) {
        doc.encoding_ = FileEncoding::Utf8;
        doc.bom_ = kUtf8Bom;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        std::string_view raw = bytes.substr(0, newline);
        std::string_view terminator;
        if (newline == std::string_view::npos) {
            bytes = {};
        } else {
            terminator = "\n";
            if (raw.ends_with('\r')) {
                raw.remove_suffix(1);
                terminator = kNewLineEnd;
            }
            bytes.remove_prefix(newline + 1);
        }
        doc.lines_.push_back(doc.ParseLine(raw, terminator));
    }
    return doc;
}

// The key is split from its value on the raw bytes: '=' is never the second
// byte of a GBK character, while a decoder may swallow one after a stray lead
// byte. So the '=' found here is the one a write keeps.
IniDocument::Line IniDocument::ParseLine(std::string_view raw, std::string_view terminator) const
{
    Line line{std::string(raw), std::string(terminator), LineKind::Other, {}, {}};
    const std::string_view start = Trim(raw);
    if (start.empty() || start.front() == kCommentMark) {
        return line;
    }
    if (start.front() == kSectionOpen) {
        const std::string decoded = Decode(start);
        const std::size_t close = decoded.rfind(kSectionClose);
        if (close != std::string::npos && close > 0) {
            line.kind = LineKind::Section;
            line.name = Trim(std::string_view(decoded).substr(1, close - 1));
        }
        return line;
    }
    const std::size_t assign = raw.find(kAssign);
    if (assign != std::string_view::npos) {
        const std::string name = Decode(raw.substr(0, assign));
        line.kind = LineKind::Key;
        line.name = Trim(name);
        line.value = Decode(raw.substr(assign + 1));
    }
    return line;
}

std::string IniDocument::Decode(std::string_view raw) const
{
    return encoding_ == FileEncoding::Gbk ? GbkToUtf8(raw) : std::string(raw);
}

std::string IniDocument::Encode(std::string_view utf8) const
{
    return encoding_ == FileEncoding::Gbk ? Utf8ToGbk(utf8) : SanitizeUtf8(utf8);
}

std::optional<std::size_t> IniDocument::FindSectionLine(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section && EqualsIgnoreAsciiCase(lines_[i].name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

// Sections that appear more than once are searched in file order.
std::optional<std::size_t> IniDocument::FindKeyLine(std::string_view section,
                                                    std::string_view key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Section) {
            inSection = EqualsIgnoreAsciiCase(line.name, section);
        } else if (inSection && line.kind == LineKind::Key &&
                   EqualsIgnoreAsciiCase(line.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const
{
    section = CleanName(section);
    key = CleanName(key);
    if (section.empty() || key.empty()) {
        return std::nullopt;
    }
    const std::optional<std::size_t> index = FindKeyLine(section, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string_view value = StripQuotes(Trim(CutAtNul(lines_[*index].value)));
    return CapCharacters(SanitizeUtf8(value), kMaxValueChars);
}

bool IniDocument::IsStorableName(std::string_view name) const
{
    return !name.empty() && !HasLineBreak(name) && Decode(Encode(name)) == name;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    section = CleanName(section);
    key = CleanName(key);
    // A key must not read back as a section, a comment or another key.
    const bool keyReadsBack = IsStorableName(key) && key.find(kAssign) == std::string_view::npos &&
                              key.front() != kSectionOpen && key.front() != kCommentMark;
    if (encoding_ == FileEncoding::Unsupported || !IsStorableName(section) || !keyReadsBack) {
        return false;
    }
    const std::string encodedValue = Encode(value.substr(0, value.find_first_of(kValueStops)));
    if (const std::optional<std::size_t> index = FindKeyLine(section, key)) {
        // The key keeps its own spelling and indentation; only the value changes.
        const std::string& old = lines_[*index].raw;
        const std::string raw = old.substr(0, old.find(kAssign) + 1) + encodedValue;
        lines_[*index] = ParseLine(raw, kNewLineEnd);
        return true;
    }
    const std::string keyLine = Encode(key) + kAssign + encodedValue;
    if (const std::optional<std::size_t> header = FindSectionLine(section)) {
        // After the section's last key, so comments before the next section stay there.
        std::size_t insertAt = *header + 1;
        for (std::size_t i = insertAt; i < lines_.size() && lines_[i].kind != LineKind::Section;
             ++i) {
            if (lines_[i].kind == LineKind::Key) {
                insertAt = i + 1;
            }
        }
        InsertLine(insertAt, keyLine);
        return true;
    }
    InsertLine(lines_.size(), kSectionOpen + Encode(section) + kSectionClose);
    InsertLine(lines_.size(), keyLine);
    return true;
}

void IniDocument::InsertLine(std::size_t index, std::string raw)
{
    if (index > 0 && lines_[index - 1].terminator.empty()) {
        lines_[index - 1].terminator = kNewLineEnd;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  ParseLine(raw, kNewLineEnd));
}

std::string IniDocument::Serialize() const
{
    std::string out = bom_;
    for (const Line& line : lines_) {
        out += line.raw;
        out += line.terminator;
    }
    return out;
}

}  // namespace torvane::ini
