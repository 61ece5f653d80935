// The worker's side of a web fetch: one blocking GET. It runs on a
// background worker, never on a window's thread (common/background_work.h),
// so an implementation may wait as long as the network makes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

// Whether `received` bytes of a body are the answer: all that the server's
// Content-Length announced (a connection closed half-way is no answer), or
// whatever came when it announced none. A reader that stopped at its limit
// of `maxBytes` has the page's start, which is all it wanted.
inline bool IsWholeAnswer(std::optional<std::uint64_t> contentLength, std::size_t received, std::size_t maxBytes)
{
    if (received >= maxBytes || !contentLength) return true;
    return received == *contentLength;
}

}  // namespace torvane
