#include "common/native/openssl_verifier.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <memory>

namespace torvane::native {
namespace {

template <class T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using PKey = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using PKeyContext = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX, EVP_MD_CTX_free>>;
using EcdsaSig = std::unique_ptr<ECDSA_SIG, Deleter<ECDSA_SIG, ECDSA_SIG_free>>;

PKey ImportPoint(const std::string& point) {
    if (point.size() != kPublicKeyBytes) return nullptr;
    PKeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
    if (!context || EVP_PKEY_fromdata_init(context.get()) <= 0) return nullptr;
    char group[] = "prime256v1";
    std::string bytes = point;
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_PKEY_PARAM_GROUP_NAME, group, 0),
        OSSL_PARAM_construct_octet_string(OSSL_PKEY_PARAM_PUB_KEY, bytes.data(), bytes.size()),
        OSSL_PARAM_construct_end(),
    };
    EVP_PKEY* key = nullptr;
    if (EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_PUBLIC_KEY, const_cast<OSSL_PARAM*>(params)) <= 0)
        return nullptr;
    return PKey(key);
}

// r || s as the DER sequence OpenSSL verifies.
std::string ToDer(std::string_view signature) {
    const auto* raw = reinterpret_cast<const unsigned char*>(signature.data());
    const size_t half = kSignatureBytes / 2;
    EcdsaSig sig(ECDSA_SIG_new());
    BIGNUM* r = BN_bin2bn(raw, static_cast<int>(half), nullptr);
    BIGNUM* s = BN_bin2bn(raw + half, static_cast<int>(half), nullptr);
    if (!sig || !r || !s || !ECDSA_SIG_set0(sig.get(), r, s)) {
        BN_free(r);
        BN_free(s);
        return {};
    }
    unsigned char* der = nullptr;
    const int length = i2d_ECDSA_SIG(sig.get(), &der);
    if (length <= 0) return {};
    std::string out(reinterpret_cast<char*>(der), static_cast<size_t>(length));
    OPENSSL_free(der);
    return out;
}

}  // namespace

bool OpenSslVerifier::Verify(std::string_view message, std::string_view signature) {
    if (signature.size() != kSignatureBytes) return false;
    const PKey key = ImportPoint(publicKey_);
    const std::string der = ToDer(signature);
    const DigestContext digest(EVP_MD_CTX_new());
    if (!key || der.empty() || !digest) return false;
    if (EVP_DigestVerifyInit(digest.get(), nullptr, EVP_sha256(), nullptr, key.get()) <= 0) return false;
    return EVP_DigestVerify(digest.get(), reinterpret_cast<const unsigned char*>(der.data()), der.size(),
                            reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}

}  // namespace torvane::native
