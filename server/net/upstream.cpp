#include "server/net/upstream.h"

#include <openssl/ssl.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/redirect_error.hpp>
#include <boost/asio/ssl/host_name_verification.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/this_coro.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <memory>

namespace torvane::server {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using asio::ip::tcp;

constexpr std::size_t kMaxBody = 1024 * 1024;

template <class Stream>
asio::awaitable<std::optional<std::string>> Exchange(Stream& stream, const UpstreamUrl& upstream,
                                                     const std::string& target) {
    beast::error_code ec;
    http::request<http::empty_body> request{http::verb::get, upstream.basePath + target, 11};
    request.set(http::field::host, upstream.host);
    request.set(http::field::user_agent, "torvane-server");
    request.set(http::field::accept, "application/json");
    co_await http::async_write(stream, request, asio::redirect_error(asio::use_awaitable, ec));
    if (ec) co_return std::nullopt;
    beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(kMaxBody);
    co_await http::async_read(stream, buffer, parser, asio::redirect_error(asio::use_awaitable, ec));
    if (ec || parser.get().result() != http::status::ok) co_return std::nullopt;
    co_return std::move(parser.get().body());
}

}  // namespace

asio::awaitable<std::optional<std::string>> HttpGet(const UpstreamUrl& upstream, std::string target,
                                                    std::chrono::milliseconds timeout, asio::ssl::context& tls) {
    auto executor = co_await asio::this_coro::executor;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // The resolver has no deadline of its own: a timer cancels it.
    auto resolver = std::make_shared<tcp::resolver>(executor);
    auto guard = std::make_shared<asio::steady_timer>(executor, deadline);
    guard->async_wait([resolver](beast::error_code ec) {
        if (!ec) resolver->cancel();
    });
    beast::error_code ec;
    const auto endpoints =
        co_await resolver->async_resolve(upstream.host, upstream.port, asio::redirect_error(asio::use_awaitable, ec));
    guard->cancel();
    if (ec) co_return std::nullopt;

    if (!upstream.tls) {
        beast::tcp_stream stream(executor);
        stream.expires_at(deadline);
        co_await stream.async_connect(endpoints, asio::redirect_error(asio::use_awaitable, ec));
        if (ec) co_return std::nullopt;
        auto body = co_await Exchange(stream, upstream, target);
        stream.socket().shutdown(tcp::socket::shutdown_both, ec);
        co_return body;
    }
    beast::ssl_stream<beast::tcp_stream> stream(executor, tls);
    if (!SSL_set_tlsext_host_name(stream.native_handle(), upstream.host.c_str())) co_return std::nullopt;
    stream.set_verify_callback(asio::ssl::host_name_verification(upstream.host));
    beast::get_lowest_layer(stream).expires_at(deadline);
    co_await beast::get_lowest_layer(stream).async_connect(endpoints, asio::redirect_error(asio::use_awaitable, ec));
    if (ec) co_return std::nullopt;
    co_await stream.async_handshake(asio::ssl::stream_base::client, asio::redirect_error(asio::use_awaitable, ec));
    if (ec) co_return std::nullopt;
    co_return co_await Exchange(stream, upstream, target);
}

}  // namespace torvane::server
