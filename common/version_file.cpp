#include "common/version_file.h"

#include "common/ini_document.h"

namespace torvane {

std::optional<VersionFileEntries> ReadSignedVersionFile(std::string_view bytes, SignatureVerifier& verifier) {
    if (!IsSignedText(verifier, bytes)) return std::nullopt;
    // Read from the signed part only: nothing after it can add an entry.
    const ini::IniDocument document = ini::IniDocument::Parse(SplitSignedText(bytes)->body);
    const auto entry = [&document](std::string_view key) {
        return document.Find(kVersionFileSection, key).value_or("");
    };
    return VersionFileEntries{entry(kRemoteVersionKey), entry(kDownUrlKey), entry(kDownNameKey),
                              entry(kDownSha256Key)};
}

}  // namespace torvane
