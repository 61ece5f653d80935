// The signature check of the native build, through OpenSSL: what the unit
// tests and the native tools verify with. The programs use BCrypt.
#pragma once

#include <string>
#include <string_view>

#include "common/release_signature.h"

namespace torvane::native {

class OpenSslVerifier final : public SignatureVerifier {
public:
    // `publicKey`: the 65-byte uncompressed P-256 point. A key that does not
    // parse verifies nothing.
    explicit OpenSslVerifier(std::string publicKey) : publicKey_(std::move(publicKey)) {}
    bool Verify(std::string_view message, std::string_view signature) override;

private:
    std::string publicKey_;
};

}  // namespace torvane::native
