// The signature check of the update server's files: the splitting of a
// signed text is portable, the arithmetic is OpenSSL's here and BCrypt's in
// the programs.
#include <gtest/gtest.h>

#include <functional>

#include "common/release_signature.h"
#include "common/version_file.h"
#include "test_signer.h"

namespace torvane {
namespace {

using testing_support::TestKey;

const std::string kBody =
    "[Version]\r\nVersion=2.1\r\nDownUrl=https://127.0.0.1/tg/setup.exe\r\nDownName=setup.exe\r\n"
    "Sha256=" + std::string(64, 'a') + "\r\n";

TEST(ReleaseSignature, OnlyTheReleaseKeysSignatureOverExactlyTheseBytesIsAccepted) {
    const TestKey key, other;
    const std::string good = key.SignedText(kBody);
    const std::string line = good.substr(kBody.size());  // "Signature=...\r\n"
    struct Case { const char* what; std::string text; bool accepted; };
    const auto flip = [](std::string text, size_t at) {
        text[at] = static_cast<char>(text[at] ^ 0x01);
        return text;
    };
    const Case cases[] = {
        {"good", good, true},
        {"good, LF line ends", key.SignedText("[Version]\nVersion=2.1\n"), true},
        {"good, no final line end", good.substr(0, good.size() - 2), true},
        {"good, LF after the signature", good.substr(0, good.size() - 2) + "\n", true},
        {"flipped bit in the body", flip(good, kBody.find("2.1") + 2), false},
        {"flipped bit in the signature", flip(good, kBody.size() + kSignatureLineKey.size() + 5), false},
        {"other key", other.SignedText(kBody), false},
        {"signature over other bytes", kBody + key.SignedText("[Version]\r\nVersion=9.9\r\n").substr(24), false},
        {"truncated signature", kBody + line.substr(0, line.size() - 4) + "\r\n", false},
        {"truncated body", kBody.substr(0, kBody.size() - 10) + line, false},
        {"missing signature", kBody, false},
        {"empty signature", kBody + "Signature=\r\n", false},
        {"extra line after it", good + "Version=9.9\r\n", false},
        {"blank line after it", good + "\r\n", false},
        {"line added before it", kBody + "DownName=x.exe\r\n" + line, false},
        {"not hexadecimal", kBody + "Signature=" + std::string(128, 'g') + "\r\n", false},
        {"empty", "", false},
    };
    auto verifier = key.Verifier();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsSignedText(*verifier, c.text), c.accepted);
    }
}

TEST(ReleaseSignature, ADetachedSignatureCoversTheWholeFile) {
    const TestKey key, other;
    const std::string text = "published 2026-01-02\nyears 2026 2026\n";
    const std::string hex = EncodeHex(key.Sign(text));
    struct Case { const char* what; std::string text, signature; bool accepted; };
    const Case cases[] = {
        {"good", text, hex + "\n", true},
        {"good, blanks around", text, "  " + hex + "\r\n\r\n", true},
        {"other key", text, EncodeHex(other.Sign(text)), false},
        {"text changed", text + "2026-01-01 休 元旦\n", hex, false},
        {"truncated", text, hex.substr(0, 126), false},
        {"missing", text, "", false},
        {"two signatures", text, hex + "\n" + hex, false},
    };
    auto verifier = key.Verifier();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsSignedDetached(*verifier, c.text, c.signature), c.accepted);
    }
}

TEST(ReleaseSignature, TheVersionFileIsReadFromItsSignedPartOnly) {
    const TestKey key;
    auto verifier = key.Verifier();
    const std::optional<VersionFileEntries> entries = ReadSignedVersionFile(key.SignedText(kBody), *verifier);
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->version, "2.1");
    EXPECT_EQ(entries->downName, "setup.exe");
    EXPECT_EQ(entries->sha256, std::string(64, 'a'));
    EXPECT_FALSE(ReadSignedVersionFile(kBody, *verifier));
}

TEST(ReleaseSignature, TheBuildCarriesAPublicKeyThatParses) {
    const std::optional<std::string> key = ReleasePublicKey();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->size(), kPublicKeyBytes);
    EXPECT_EQ(DecodeHex(EncodeHex(*key)), key);
}

}  // namespace
}  // namespace torvane
