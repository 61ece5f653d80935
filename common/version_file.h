// The version file as the update server signs it ("/tg/version.txt", kept as
// "version.ini"): an INI text in GBK, section "Version" with "Version",
// "DownUrl", "DownName" and "Sha256", and a last line "Signature=<hex>"
// over every byte before it (common/release_signature.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/release_signature.h"
#include "common/settings_keys.h"

namespace torvane {

// The entries of a version file whose signature the release key made;
// nothing for one without a valid signature.
std::optional<VersionFileEntries> ReadSignedVersionFile(std::string_view bytes, SignatureVerifier& verifier);

}  // namespace torvane
