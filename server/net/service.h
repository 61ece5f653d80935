// The service on one thread: accepts connections, answers the calendar's
// pages, fetches forecasts, logs each request, and stops gracefully.
#pragma once

// Boost 1.74's awaitable uses std::exchange without including <utility>.
#include <utility>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "server/config.h"
#include "server/forecast_cache.h"
#include "server/ip_database.h"
#include "server/places.h"

namespace torvane::server {

class Service {
public:
    Service(boost::asio::io_context& io, Config config, std::optional<IpDatabase> ipDatabase, std::FILE* accessLog);
    // Binds and starts accepting; the bound port, or 0 when binding failed.
    unsigned short Start();
    // Stops accepting, ends idle connections, lets running requests finish.
    void Stop();

    struct Answer {
        unsigned status = 200;
        std::string contentType;
        std::string cacheControl;
        std::string body;
        std::string note;  // for the access log: how the answer was made
    };

private:
    boost::asio::awaitable<void> Accept();
    boost::asio::awaitable<void> Session(boost::asio::ip::tcp::socket socket);
    boost::asio::awaitable<Answer> Route(const std::string& method, const std::string& target,
                                         const std::string& client);
    boost::asio::awaitable<Answer> Weather(const std::string& query);
    boost::asio::awaitable<std::optional<std::string>> FetchPage(const std::string& city);
    Answer Location(const std::string& client);
    std::optional<std::string_view> CityOf(const std::string& query) const;
    Answer SiteFile(const std::string& path) const;
    std::string ClientOf(const std::string& peer, const std::string& forwardedFor) const;
    void Log(const std::string& peer, const std::string& client, const std::string& method,
             const std::string& target, const Answer& answer, std::size_t bytes, double milliseconds);
    boost::asio::awaitable<void> FlushLog();

    boost::asio::io_context& io_;
    Config config_;
    std::optional<UpstreamUrl> upstream_;
    std::optional<IpDatabase> ipDatabase_;
    std::FILE* accessLog_;
    boost::asio::ssl::context tls_;
    boost::asio::ip::tcp::acceptor acceptor_;
    ForecastCache cache_;
    // Callers waiting for a city's fetch: the timer is cancelled when it ends.
    std::unordered_map<std::string, std::shared_ptr<boost::asio::steady_timer>> waiting_;
    std::unordered_set<boost::beast::tcp_stream*> idle_;
    // Every listed city by its GBK bytes, as the calendar asks for it.
    std::unordered_map<std::string, std::string_view> gbkCities_;
    // The location page in GB2312 around the address, by place text.
    std::unordered_map<std::string, PageParts> locationPages_;
    bool stopping_ = false;
};

}  // namespace torvane::server
