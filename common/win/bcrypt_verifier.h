// The programs' signature check: ECDSA P-256 over SHA-256 through the
// platform's own BCrypt (Windows 7 and later), loaded at the first check.
#pragma once

#include <string>
#include <string_view>

#include "common/release_signature.h"

namespace torvane::win {

class BcryptVerifier final : public SignatureVerifier {
public:
    // `publicKey`: the 65-byte uncompressed P-256 point; any other key
    // verifies nothing.
    explicit BcryptVerifier(std::string publicKey) : publicKey_(std::move(publicKey)) {}
    bool Verify(std::string_view message, std::string_view signature) override;

private:
    std::string publicKey_;
};

}  // namespace torvane::win
