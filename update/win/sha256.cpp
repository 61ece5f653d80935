#include "update/win/sha256.h"

#include <windows.h>

#include <vector>

#include "common/release_signature.h"
#include "common/win/bcrypt_api.h"
#include "common/win/unique.h"

namespace torvane::update::win {

namespace {

using torvane::win::Unique;

constexpr DWORD kChunk = 1u << 16;

void CloseFile(HANDLE file) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

std::optional<std::string> FileSha256(const std::wstring& path) {
    torvane::win::Sha256Hasher hasher;
    if (!hasher.ok()) return std::nullopt;
    const Unique<HANDLE, CloseFile> file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<char> chunk(kChunk);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk.data(), kChunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        if (!hasher.Add(std::string_view(chunk.data(), got))) return std::nullopt;
    }
    const std::optional<std::string> digest = hasher.Digest();
    if (!digest) return std::nullopt;
    return EncodeHex(*digest);
}

}  // namespace torvane::update::win
