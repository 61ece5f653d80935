#include "common/win/bcrypt_verifier.h"

#include <vector>

#include "common/win/bcrypt_api.h"

namespace torvane::win {
namespace {

constexpr ULONG kCoordinateBytes = 32;

// BCRYPT_ECCPUBLIC_BLOB: the header, then x and y of the point.
std::vector<UCHAR> PublicBlob(const std::string& point) {
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 2 * kCoordinateBytes);
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kCoordinateBytes};
    memcpy(blob.data(), &header, sizeof header);
    memcpy(blob.data() + sizeof header, point.data() + 1, 2 * kCoordinateBytes);
    return blob;
}

}  // namespace

bool BcryptVerifier::Verify(std::string_view message, std::string_view signature) {
    if (signature.size() != kSignatureBytes || publicKey_.size() != kPublicKeyBytes || publicKey_[0] != '\x04')
        return false;
    const BcryptApi* api = BcryptApi::Get();
    if (!api) return false;
    Sha256Hasher hasher;
    hasher.Add(message);
    std::optional<std::string> digest = hasher.Digest();
    if (!digest) return false;
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!BCRYPT_SUCCESS(api->OpenAlgorithmProvider(&provider, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
        return false;
    std::vector<UCHAR> blob = PublicBlob(publicKey_);
    BCRYPT_KEY_HANDLE key = nullptr;
    bool valid = false;
    if (BCRYPT_SUCCESS(api->ImportKeyPair(provider, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(),
                                          static_cast<ULONG>(blob.size()), 0))) {
        std::string sig(signature);
        valid = BCRYPT_SUCCESS(api->VerifySignature(key, nullptr, reinterpret_cast<PUCHAR>(digest->data()),
                                                    static_cast<ULONG>(digest->size()),
                                                    reinterpret_cast<PUCHAR>(sig.data()),
                                                    static_cast<ULONG>(sig.size()), 0));
        api->DestroyKey(key);
    }
    api->CloseAlgorithmProvider(provider, 0);
    return valid;
}

}  // namespace torvane::win
