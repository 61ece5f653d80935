// The worker's side of a web fetch: one blocking GET. It runs on a
// background worker, never on a window's thread (common/background_work.h),
// so an implementation may wait as long as the network makes it.
#pragma once

#include <cstddef>
#include <string>

namespace torvane {

class HttpGet {
public:
    virtual ~HttpGet() = default;
    // The body of the answer whatever its status (an error page is a page),
    // at most `maxBytes` of it; empty when nothing arrived. Safe to call
    // from several threads at once.
    virtual std::string GetBody(const std::string& url, std::size_t maxBytes) = 0;
};

}  // namespace torvane
