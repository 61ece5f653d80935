// The updater's parsers of outside input: its command line, the installer's
// name and address from version.ini (a name it accepts goes into a script it
// runs), the digest, the Content-Length of a server's answer, the signature
// line of a signed version file and the names of temporary files.
//
// Input: the installer's name, a line feed, its address; the whole input is
// also given to each of the one-text parsers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/release_signature.h"
#include "common/temporary_names.h"
#include "fuzz/fuzz_check.h"
#include "update/download_rules.h"
#include "update/file_names.h"
#include "update/updater_rules.h"

namespace {

using torvane::update::DownNameCheck;

void CheckArguments(std::string_view text)
{
    const torvane::update::UpdaterArguments parsed = torvane::update::SplitArguments(text);
    FUZZ_CHECK(text.starts_with(parsed.version));
    FUZZ_CHECK(parsed.version.find("###") == std::string::npos);
    if (parsed.mode != torvane::update::UpdateMode::Unknown) {
        FUZZ_CHECK(text.substr(parsed.version.size()).starts_with("###"));
    }
}

void CheckDownName(std::string_view name, std::string_view url)
{
    if (torvane::update::CheckDownName(name, url) != DownNameCheck::Accepted) {
        return;
    }
    // An accepted name is a plain program name the script reads as just that.
    FUZZ_CHECK(name.find_first_of("\\/:&|<>^%\"!() \t\r\n,;=") == std::string_view::npos);
    FUZZ_CHECK(name.size() > 4);
    FUZZ_CHECK(torvane::update::IsDownloadAddress(url));
    const std::string script = torvane::update::CommandScript(name, "C:\\Torvane");
    std::size_t lines = 0;
    for (std::size_t at = script.find("\r\n"); at != std::string::npos; at = script.find("\r\n", at + 2)) {
        ++lines;
    }
    FUZZ_CHECK(lines == 2);
}

void CheckNumbers(std::string_view text)
{
    if (const auto length = torvane::update::ContentLengthOf(text)) {
        FUZZ_CHECK(*length >= 0);
    }
    if (const auto digest = torvane::update::NormalizeSha256(text)) {
        FUZZ_CHECK(digest->size() == 64);
        FUZZ_CHECK(digest->find_first_not_of("0123456789abcdef") == std::string::npos);
    }
    const std::string name = torvane::update::GetFileNameInPath(text, false);
    FUZZ_CHECK(name.empty() || name.find('.') != std::string::npos);
    FUZZ_CHECK(name.find('\\') == std::string::npos);
}

void CheckSignedText(std::string_view text)
{
    if (const auto signed_ = torvane::SplitSignedText(text)) {
        // The signed part is what comes before the signature line, nothing more.
        FUZZ_CHECK(text.starts_with(signed_->body));
        FUZZ_CHECK(text.substr(signed_->body.size()).starts_with("Signature="));
        FUZZ_CHECK(signed_->signature.size() == torvane::kSignatureBytes);
    }
    if (const auto bytes = torvane::DecodeHex(text)) {
        FUZZ_CHECK(bytes->size() * 2 == text.size());
    }
    if (torvane::TemporaryFileOwner(text)) {
        FUZZ_CHECK(text.starts_with("~") && text.ends_with(".tmp"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\n');
    CheckDownName(text.substr(0, split), split == std::string_view::npos ? "" : text.substr(split + 1));
    CheckArguments(text);
    CheckNumbers(text);
    CheckSignedText(text);
    return 0;
}
