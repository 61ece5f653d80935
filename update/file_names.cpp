#include "update/file_names.h"

#include "common/ascii_case.h"
#include "common/text_codec.h"
#include "update/download_rules.h"

namespace torvane::update {

namespace {

constexpr std::string_view kProgramSuffix = ".exe";
constexpr std::string_view kPathCharacters = "\\/:";
constexpr std::u16string_view kNamePunctuation = u".-_";

struct Range {
    char16_t first, last;
};
// Letters and digits beyond ASCII, script by script. Punctuation, symbols
// and spaces of every script stay out: "，" or a no-break space is as much a
// separator to cmd.exe's readers as "," is.
constexpr Range kLetterRanges[] = {
    {u'\u00C0', u'\u00D6'}, {u'\u00D8', u'\u00F6'}, {u'\u00F8', u'\u024F'},  // Latin
    {u'\u0391', u'\u03A9'}, {u'\u03B1', u'\u03C9'},                          // Greek
    {u'\u0400', u'\u0481'}, {u'\u048A', u'\u04FF'},                          // Cyrillic
    {u'\u0620', u'\u064A'}, {u'\u0660', u'\u0669'},                          // Arabic
    {u'\u3041', u'\u3096'}, {u'\u30A1', u'\u30FA'},                          // kana
    {u'\u3400', u'\u4DBF'}, {u'\u4E00', u'\u9FFF'},                          // CJK ideographs
    {u'\uAC00', u'\uD7A3'},                                                  // Hangul
    {u'\uFF10', u'\uFF19'}, {u'\uFF21', u'\uFF3A'}, {u'\uFF41', u'\uFF5A'},  // full-width
};

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsNameCharacter(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return true;
    if (kNamePunctuation.find(c) != std::u16string_view::npos) return true;
    for (const Range& range : kLetterRanges) {
        if (c >= range.first && c <= range.last) return true;
    }
    return false;
}

bool HasUnsafeCharacter(std::string_view name) {
    const std::u16string wide = Utf8ToUtf16(name);
    // A name that is not UTF-8 (or needs surrogates) is no plain name.
    if (wide.empty() || Utf16ToUtf8(wide) != name) return true;
    for (const char16_t c : wide) {
        if (!IsNameCharacter(c)) return true;
    }
    return false;
}

}  // namespace

std::string AddString(std::string_view text, std::string_view suffix) {
    if (text.size() >= suffix.size() && EqualsIgnoreAsciiCase(text.substr(text.size() - suffix.size()), suffix))
        return std::string(text);
    return std::string(text) + std::string(suffix);
}

std::string GetFileNameInPath(std::string_view path, bool withoutExtension) {
    path = Trim(path);
    size_t separator = path.rfind('\\');
    if (separator == std::string_view::npos) separator = path.rfind('/');
    if (separator == std::string_view::npos) return {};
    const std::string_view name = path.substr(separator + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return std::string(withoutExtension ? name.substr(0, dot) : name);
}

DownNameCheck CheckDownName(std::string_view downName, std::string_view downUrl) {
    if (downName.find_first_of(kPathCharacters) != std::string_view::npos || downName.size() <= kProgramSuffix.size())
        return DownNameCheck::NotAFileName;
    if (!EqualsIgnoreAsciiCase(downName.substr(downName.size() - kProgramSuffix.size()), kProgramSuffix))
        return DownNameCheck::NotAProgram;
    if (HasUnsafeCharacter(downName)) return DownNameCheck::UnsafeCharacter;
    if (GbkToUtf8(Utf8ToGbk(downName)) != downName) return DownNameCheck::NotInCodePage;
    if (!IsDownloadAddress(downUrl)) return DownNameCheck::NotWebAddress;
    if (!EqualsIgnoreAsciiCase(GetFileNameInPath(downUrl, false), downName)) return DownNameCheck::NotTheDownload;
    return DownNameCheck::Accepted;
}

}  // namespace torvane::update
