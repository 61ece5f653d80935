#include "common/release_signature.h"

#include "build_config.h"

namespace torvane {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::string> DecodeSignature(std::string_view hex) {
    std::optional<std::string> bytes = DecodeHex(hex);
    if (!bytes || bytes->size() != kSignatureBytes) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> DecodeHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

std::string EncodeHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::optional<SignedText> SplitSignedText(std::string_view text) {
    // The line terminator of the last line, if it has one.
    std::string_view rest = text;
    if (rest.ends_with("\r\n")) {
        rest.remove_suffix(2);
    } else if (rest.ends_with('\n')) {
        rest.remove_suffix(1);
    }
    const size_t lastBreak = rest.find_last_of('\n');
    const size_t lineStart = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    const std::string_view line = rest.substr(lineStart);
    if (!line.starts_with(kSignatureLineKey)) return std::nullopt;
    std::optional<std::string> signature = DecodeSignature(line.substr(kSignatureLineKey.size()));
    if (!signature) return std::nullopt;
    return SignedText{text.substr(0, lineStart), std::move(*signature)};
}

bool IsSignedText(SignatureVerifier& verifier, std::string_view text) {
    const std::optional<SignedText> signed_ = SplitSignedText(text);
    return signed_ && verifier.Verify(signed_->body, signed_->signature);
}

bool IsSignedDetached(SignatureVerifier& verifier, std::string_view text, std::string_view signatureFile) {
    const std::optional<std::string> signature = DecodeSignature(TrimBlanks(signatureFile));
    return signature && verifier.Verify(text, *signature);
}

std::optional<std::string> ReleasePublicKey() {
    std::optional<std::string> key = DecodeHex(TrimBlanks(TORVANE_RELEASE_PUBLIC_KEY));
    if (!key || key->size() != kPublicKeyBytes || key->front() != '\x04') return std::nullopt;
    return key;
}

}  // namespace torvane
