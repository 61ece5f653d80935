#include "update/file_names.h"

#include "common/ascii_case.h"
#include "common/text_codec.h"
#include "update/download_rules.h"

namespace torvane::update {

namespace {

constexpr std::string_view kProgramSuffix = ".exe";
// What cmd.exe reads as something other than part of a name.
constexpr std::string_view kCommandSpecials = "&|<>^%\"!()";
constexpr std::string_view kPathCharacters = "\\/:";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool HasUnsafeCharacter(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || kCommandSpecials.find(c) != std::string_view::npos) return true;
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
