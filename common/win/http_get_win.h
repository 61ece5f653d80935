// HttpGet over WinINet. Every call opens its own session, so calls from
// several workers never share a handle.
#pragma once

#include "common/http_get.h"

namespace torvane::win {

class WinInetGet final : public HttpGet {
public:
    std::string GetBody(const std::string& url, std::size_t maxBytes) override;
};

}  // namespace torvane::win
