// A release key pair of the tests' own, made with OpenSSL: signs what a test
// serves as the update server would, and checks it as the programs do.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/native/openssl_verifier.h"

namespace torvane::testing_support {

class TestKey {
public:
    TestKey();  // a new P-256 key pair
    ~TestKey();
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    // The public half: the uncompressed point.
    const std::string& publicPoint() const { return point_; }
    // r || s over the SHA-256 of `message`.
    std::string Sign(std::string_view message) const;
    // `body` followed by its signature line.
    std::string SignedText(std::string_view body) const;
    std::shared_ptr<native::OpenSslVerifier> Verifier() const {
        return std::make_shared<native::OpenSslVerifier>(point_);
    }

private:
    void* key_ = nullptr;  // EVP_PKEY
    std::string point_;
};

}  // namespace torvane::testing_support
