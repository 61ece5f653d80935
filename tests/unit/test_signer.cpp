#include "test_signer.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>

#include <stdexcept>

#include "common/release_signature.h"

namespace torvane::testing_support {

TestKey::TestKey() {
    EVP_PKEY* key = EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256");
    if (!key) throw std::runtime_error("no test key");
    key_ = key;
    unsigned char point[kPublicKeyBytes];
    size_t length = 0;
    EVP_PKEY_get_octet_string_param(key, OSSL_PKEY_PARAM_PUB_KEY, point, sizeof point, &length);
    point_.assign(reinterpret_cast<char*>(point), length);
}

TestKey::~TestKey() { EVP_PKEY_free(static_cast<EVP_PKEY*>(key_)); }

std::string TestKey::Sign(std::string_view message) const {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    unsigned char der[128];
    size_t length = sizeof der;
    EVP_DigestSignInit(context, nullptr, EVP_sha256(), nullptr, static_cast<EVP_PKEY*>(key_));
    EVP_DigestSign(context, der, &length, reinterpret_cast<const unsigned char*>(message.data()), message.size());
    EVP_MD_CTX_free(context);
    const unsigned char* read = der;
    ECDSA_SIG* sig = d2i_ECDSA_SIG(nullptr, &read, static_cast<long>(length));
    std::string raw(kSignatureBytes, '\0');
    BN_bn2binpad(ECDSA_SIG_get0_r(sig), reinterpret_cast<unsigned char*>(raw.data()), kSignatureBytes / 2);
    BN_bn2binpad(ECDSA_SIG_get0_s(sig), reinterpret_cast<unsigned char*>(raw.data()) + kSignatureBytes / 2,
                 kSignatureBytes / 2);
    ECDSA_SIG_free(sig);
    return raw;
}

std::string TestKey::SignedText(std::string_view body) const {
    return std::string(body) + std::string(kSignatureLineKey) + EncodeHex(Sign(body)) + "\r\n";
}

}  // namespace torvane::testing_support
