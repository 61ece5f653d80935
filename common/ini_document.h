// One INI file in memory, kept as its own lines so that writing a value
// changes only the line of that value (or adds lines) and leaves every other
// byte as it was. Texts passed in and out are UTF-8; on disk the file is GBK,
// or UTF-8 when it starts with a UTF-8 byte-order mark.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane::ini {

// The longest value a read returns, in characters (a profile buffer of
// 32767 characters less its terminating NUL).
inline constexpr std::size_t kMaxValueChars = 32766;

enum class FileEncoding {
    Gbk,
    Utf8,         // the file starts with a UTF-8 byte-order mark
    Unsupported,  // UTF-16: read as empty and never written
};

class IniDocument {
public:
    // Never fails: lines it does not understand are kept as they are.
    static IniDocument Parse(std::string_view bytes);

    FileEncoding encoding() const { return encoding_; }

    // The value of the first line of `key` in a section named `section`, both
    // matched without regard to ASCII letter case; cut at its first NUL,
    // trimmed, without surrounding quotes and at most kMaxValueChars long.
    // Empty optional when there is no such key.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Replaces the first line of the key, or adds one at the end of the first
    // section of that name, or adds the section at the end of the file. The
    // value is cut at its first NUL, CR or LF so it cannot add lines. Returns
    // false and changes nothing for a name that cannot be stored (empty, or
    // one that would read back as something else) or an unsupported file.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes.
    std::string Serialize() const;

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string raw;         // bytes as on disk, without the terminator
        std::string terminator;  // "\r\n", "\n", or "" for an unterminated last line
        LineKind kind = LineKind::Other;
        std::string name;   // section or key name, UTF-8, trimmed
        std::string value;  // a key's text after '=', UTF-8, as it stands
    };

    Line ParseLine(std::string_view raw, std::string_view terminator) const;
    std::string Decode(std::string_view raw) const;
    std::string Encode(std::string_view utf8) const;
    // Not empty, on one line, and reads back as itself from this file.
    bool IsStorableName(std::string_view name) const;
    void InsertLine(std::size_t index, std::string raw);
    // Index of the first key line of `key` in a section named `section`.
    std::optional<std::size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    std::optional<std::size_t> FindSectionLine(std::string_view section) const;

    FileEncoding encoding_ = FileEncoding::Gbk;
    std::string bom_;
    std::vector<Line> lines_;
};

}  // namespace torvane::ini
