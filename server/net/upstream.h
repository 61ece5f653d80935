// The one HTTP(S) GET the service makes: the forecast of a point, bounded by
// a deadline that covers the name lookup, the connection, TLS and the answer.
#pragma once

// Boost 1.74's awaitable uses std::exchange without including <utility>.
#include <utility>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/ssl/context.hpp>
#include <chrono>
#include <optional>
#include <string>

#include "server/config.h"

namespace torvane::server {

// The body of a 200 answer to GET `target` on `upstream`, or nothing (an
// error status, a body over 1 MB, a failure, or the deadline passing).
boost::asio::awaitable<std::optional<std::string>> HttpGet(const UpstreamUrl& upstream, std::string target,
                                                           std::chrono::milliseconds timeout,
                                                           boost::asio::ssl::context& tls);

}  // namespace torvane::server
