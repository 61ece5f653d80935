#include "common/win/bcrypt_api.h"

#include "common/win/system_library.h"

namespace torvane::win {
namespace {

constexpr ULONG kDigestBytes = 32;

BcryptApi Load() {
    BcryptApi api;
    HMODULE module = LoadSystemLibrary(L"bcrypt.dll");
    if (!module) return {};
    const bool bound = Bind(module, "BCryptOpenAlgorithmProvider", api.OpenAlgorithmProvider) &&
                       Bind(module, "BCryptCloseAlgorithmProvider", api.CloseAlgorithmProvider) &&
                       Bind(module, "BCryptCreateHash", api.CreateHash) &&
                       Bind(module, "BCryptHashData", api.HashData) &&
                       Bind(module, "BCryptFinishHash", api.FinishHash) &&
                       Bind(module, "BCryptDestroyHash", api.DestroyHash) &&
                       Bind(module, "BCryptImportKeyPair", api.ImportKeyPair) &&
                       Bind(module, "BCryptDestroyKey", api.DestroyKey) &&
                       Bind(module, "BCryptVerifySignature", api.VerifySignature);
    return bound ? api : BcryptApi{};
}

}  // namespace

const BcryptApi* BcryptApi::Get() {
    static const BcryptApi api = Load();  // initialised once, also across threads
    return api.OpenAlgorithmProvider ? &api : nullptr;
}

Sha256Hasher::Sha256Hasher() : api_(BcryptApi::Get()) {
    if (!api_ || !BCRYPT_SUCCESS(api_->OpenAlgorithmProvider(&provider_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        provider_ = nullptr;
        return;
    }
    if (!BCRYPT_SUCCESS(api_->CreateHash(provider_, &hash_, nullptr, 0, nullptr, 0, 0))) hash_ = nullptr;
}

Sha256Hasher::~Sha256Hasher() {
    if (hash_) api_->DestroyHash(hash_);
    if (provider_) api_->CloseAlgorithmProvider(provider_, 0);
}

bool Sha256Hasher::Add(std::string_view bytes) {
    while (ok() && !failed_ && !bytes.empty()) {
        const ULONG piece = bytes.size() > MAXLONG ? MAXLONG : static_cast<ULONG>(bytes.size());
        auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
        failed_ = !BCRYPT_SUCCESS(api_->HashData(hash_, data, piece, 0));
        bytes.remove_prefix(piece);
    }
    return ok() && !failed_;
}

std::optional<std::string> Sha256Hasher::Digest() {
    if (!ok() || failed_) return std::nullopt;
    std::string digest(kDigestBytes, '\0');
    failed_ = !BCRYPT_SUCCESS(api_->FinishHash(hash_, reinterpret_cast<PUCHAR>(digest.data()), kDigestBytes, 0));
    if (failed_) return std::nullopt;
    return digest;
}

}  // namespace torvane::win
