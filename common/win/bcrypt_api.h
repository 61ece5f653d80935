// BCrypt, loaded by the first hash or signature check rather than by the
// program's start: the calendar needs it only once a download has arrived.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <optional>
#include <string>
#include <string_view>

namespace torvane::win {

struct BcryptApi {
    decltype(&::BCryptOpenAlgorithmProvider) OpenAlgorithmProvider = nullptr;
    decltype(&::BCryptCloseAlgorithmProvider) CloseAlgorithmProvider = nullptr;
    decltype(&::BCryptCreateHash) CreateHash = nullptr;
    decltype(&::BCryptHashData) HashData = nullptr;
    decltype(&::BCryptFinishHash) FinishHash = nullptr;
    decltype(&::BCryptDestroyHash) DestroyHash = nullptr;
    decltype(&::BCryptImportKeyPair) ImportKeyPair = nullptr;
    decltype(&::BCryptDestroyKey) DestroyKey = nullptr;
    decltype(&::BCryptVerifySignature) VerifySignature = nullptr;

    // The functions, or null when the library cannot be loaded. Safe from
    // any thread; the library stays loaded for the program's life.
    static const BcryptApi* Get();
};

// SHA-256 as it is fed piece by piece; Digest() ends it.
class Sha256Hasher {
public:
    Sha256Hasher();
    ~Sha256Hasher();
    Sha256Hasher(const Sha256Hasher&) = delete;
    Sha256Hasher& operator=(const Sha256Hasher&) = delete;

    bool ok() const { return hash_ != nullptr; }
    bool Add(std::string_view bytes);
    // The 32 bytes of the digest, or nothing when hashing failed.
    std::optional<std::string> Digest();

private:
    const BcryptApi* api_ = nullptr;
    BCRYPT_ALG_HANDLE provider_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
    bool failed_ = false;
};

}  // namespace torvane::win
