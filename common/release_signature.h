// Signed releases: the update server's files are acted on only when the
// release key signed them. The key is ECDSA P-256; a signature is the 64
// bytes r || s over the SHA-256 of the signed bytes, written in hexadecimal.
//
// A version file carries its signature as its last line, "Signature=<hex>",
// covering every byte before that line. The days-off file has a detached
// signature file holding only the hexadecimal text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torvane {

inline constexpr std::size_t kSignatureBytes = 64;   // r || s
inline constexpr std::size_t kPublicKeyBytes = 65;   // 0x04 || x || y
inline constexpr std::string_view kSignatureLineKey = "Signature=";

// Checks signatures with the release public key; the platform does the
// arithmetic (BCrypt on Windows, OpenSSL natively). Safe from any thread.
class SignatureVerifier {
public:
    virtual ~SignatureVerifier() = default;
    // True when `signature` (r || s) signs exactly `message`.
    virtual bool Verify(std::string_view message, std::string_view signature) = 0;
};

// Bytes of an even number of hexadecimal digits (either case); nothing for
// any other text.
std::optional<std::string> DecodeHex(std::string_view hex);
std::string EncodeHex(std::string_view bytes);

struct SignedText {
    std::string_view body;  // every byte before the signature line
    std::string signature;  // r || s
};

// The signed part and the signature of a text whose last line is
// "Signature=<128 hex digits>", ended by CR LF, LF or nothing. Nothing when
// there is no such last line: a missing, malformed or truncated signature,
// or anything after it.
std::optional<SignedText> SplitSignedText(std::string_view text);

// A text with its own signature line, signed by the release key.
bool IsSignedText(SignatureVerifier& verifier, std::string_view text);

// A text and the content of its detached signature file (the hexadecimal
// digits, blanks and line ends around them allowed).
bool IsSignedDetached(SignatureVerifier& verifier, std::string_view text, std::string_view signatureFile);

// The release public key built into the programs; nothing when the build
// was given none that parses.
std::optional<std::string> ReleasePublicKey();

}  // namespace torvane
