#include "update/win/sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <vector>

#include "common/win/unique.h"

namespace torvane::update::win {

namespace {

using torvane::win::Unique;

constexpr DWORD kChunk = 1u << 16;
constexpr ULONG kDigestBytes = 32;

void CloseProvider(BCRYPT_ALG_HANDLE provider) { BCryptCloseAlgorithmProvider(provider, 0); }
void DestroyHash(BCRYPT_HASH_HANDLE hash) { BCryptDestroyHash(hash); }
void CloseFile(HANDLE file) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

std::string Hex(const std::array<UCHAR, kDigestBytes>& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (UCHAR byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace

std::optional<std::string> FileSha256(const std::wstring& path) {
    BCRYPT_ALG_HANDLE rawProvider = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&rawProvider, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return std::nullopt;
    const Unique<BCRYPT_ALG_HANDLE, CloseProvider> provider(rawProvider);
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(provider.get(), &rawHash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    const Unique<BCRYPT_HASH_HANDLE, DestroyHash> hash(rawHash);
    const Unique<HANDLE, CloseFile> file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<UCHAR> chunk(kChunk);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk.data(), kChunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        if (!BCRYPT_SUCCESS(BCryptHashData(hash.get(), chunk.data(), got, 0))) return std::nullopt;
    }
    std::array<UCHAR, kDigestBytes> digest{};
    if (!BCRYPT_SUCCESS(BCryptFinishHash(hash.get(), digest.data(), kDigestBytes, 0))) return std::nullopt;
    return Hex(digest);
}

}  // namespace torvane::update::win
