#include "server/net/service.h"

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/redirect_error.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <array>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>

#include "common/text_codec.h"
#include "server/access_log.h"
#include "server/city_coords.h"
#include "server/forecast.h"
#include "server/places.h"
#include "server/query.h"
#include "server/site.h"
#include "server/net/upstream.h"
#include "weather/city_table.h"

namespace torvane::server {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using asio::ip::tcp;
using namespace std::chrono_literals;

constexpr auto kIdleKeepAlive = 30s;
constexpr std::size_t kMaxRequestHeader = 8 * 1024;
// What a refused request may still send after its answer, read and dropped.
constexpr auto kDrainTime = 2s;
constexpr std::size_t kMaxDrained = 1024 * 1024;
constexpr std::size_t kMaxSiteFile = 256u * 1024 * 1024;
constexpr std::size_t kMaxLocationPages = 4096;
constexpr const char* kGbkPage = "text/html; charset=gb2312";
constexpr const char* kNoStore = "no-cache";

asio::awaitable<void> DrainRefused(beast::tcp_stream& stream) {
    std::array<char, 16 * 1024> sink;
    std::size_t drained = 0;
    stream.expires_after(kDrainTime);
    while (drained < kMaxDrained) {
        beast::error_code ec;
        drained += co_await stream.async_read_some(asio::buffer(sink), asio::redirect_error(asio::use_awaitable, ec));
        if (ec) break;
    }
}

Service::Answer GbkPage(const std::string& utf8, std::string note) {
    return {200, kGbkPage, kNoStore, Utf8ToGbk(utf8), std::move(note)};
}

Service::Answer NotFound() {
    return {404, kGbkPage, kNoStore, Utf8ToGbk("<html><body><h1>404 没有这个页面</h1></body></html>"), "none"};
}

std::string Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

Service::Service(asio::io_context& io, Config config, std::optional<IpDatabase> ipDatabase, std::FILE* accessLog)
    : io_(io),
      config_(std::move(config)),
      upstream_(ParseUpstreamUrl(config_.weatherUpstream)),
      ipDatabase_(std::move(ipDatabase)),
      accessLog_(accessLog),
      tls_(asio::ssl::context::tls_client),
      acceptor_(io),
      cache_(ForecastCache::Policy{std::chrono::seconds(config_.cacheSeconds), 30s}) {
    for (const weather::Province& province : weather::Provinces()) {
        for (std::string_view city : province.cities) gbkCities_.emplace(Utf8ToGbk(city), city);
    }
    tls_.set_default_verify_paths();
    tls_.set_verify_mode(asio::ssl::verify_peer);
}

unsigned short Service::Start() {
    beast::error_code ec;
    const auto address = asio::ip::make_address(config_.bind, ec);
    if (ec) return 0;
    const tcp::endpoint endpoint(address, config_.port);
    acceptor_.open(endpoint.protocol(), ec);
    if (!ec) acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor_.bind(endpoint, ec);
    if (!ec) acceptor_.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) return 0;
    asio::co_spawn(io_, Accept(), asio::detached);
    asio::co_spawn(io_, FlushLog(), asio::detached);
    return acceptor_.local_endpoint().port();
}

void Service::Stop() {
    if (stopping_) return;
    stopping_ = true;
    beast::error_code ec;
    acceptor_.close(ec);
    for (beast::tcp_stream* stream : idle_) stream->cancel();
    for (auto& [city, timer] : waiting_) timer->cancel();
}

asio::awaitable<void> Service::Accept() {
    while (!stopping_) {
        beast::error_code ec;
        tcp::socket socket = co_await acceptor_.async_accept(asio::redirect_error(asio::use_awaitable, ec));
        if (ec) {
            if (stopping_ || ec == asio::error::operation_aborted) break;
            // Out of descriptors and the like: let a connection end first.
            asio::steady_timer pause(io_, 10ms);
            co_await pause.async_wait(asio::redirect_error(asio::use_awaitable, ec));
            continue;
        }
        socket.set_option(tcp::no_delay(true), ec);
        asio::co_spawn(io_, Session(std::move(socket)), asio::detached);
    }
}

asio::awaitable<void> Service::Session(tcp::socket socket) {
    beast::error_code ec;
    const tcp::endpoint remote = socket.remote_endpoint(ec);
    const std::string peer = ec ? std::string() : remote.address().to_string();
    beast::tcp_stream stream(std::move(socket));
    beast::flat_buffer buffer;
    bool keepAlive = true;
    bool refused = false;
    while (keepAlive && !stopping_) {
        http::request_parser<http::string_body> parser;
        parser.header_limit(kMaxRequestHeader);
        parser.body_limit(kMaxRequestHeader);
        stream.expires_after(kIdleKeepAlive);
        idle_.insert(&stream);
        co_await http::async_read(stream, buffer, parser, asio::redirect_error(asio::use_awaitable, ec));
        idle_.erase(&stream);
        if (ec == http::error::end_of_stream || ec == asio::error::operation_aborted || ec == beast::error::timeout ||
            ec == asio::error::connection_reset) {
            break;
        }
        const auto started = std::chrono::steady_clock::now();
        Answer answer;
        std::string client = peer, method = "-", target = "-";
        if (ec) {
            answer = {400, "text/plain", kNoStore, "bad request\n", "bad-request"};
            keepAlive = false;
            refused = true;
        } else {
            const auto& request = parser.get();
            method = std::string(request.method_string());
            target = std::string(request.target());
            client = ClientOf(peer, std::string(request["X-Forwarded-For"]));
            answer = co_await Route(method, target, client);
            keepAlive = request.keep_alive();
        }
        http::response<http::string_body> response{static_cast<http::status>(answer.status), 11};
        response.set(http::field::server, "torvane-server");
        response.set(http::field::content_type, answer.contentType);
        if (!answer.cacheControl.empty()) response.set(http::field::cache_control, answer.cacheControl);
        const std::size_t bytes = answer.body.size();
        if (method == "HEAD") {
            response.content_length(bytes);
        } else {
            response.body() = std::move(answer.body);
            response.prepare_payload();
        }
        response.keep_alive(keepAlive && !stopping_);
        stream.expires_after(kIdleKeepAlive);
        co_await http::async_write(stream, response, asio::redirect_error(asio::use_awaitable, ec));
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        Log(peer, client, method, target, answer, bytes, ms);
        if (ec) break;
    }
    stream.socket().shutdown(tcp::socket::shutdown_send, ec);
    // A refused request's unread rest (an overlong header, a body) would make
    // the close a reset, and a reset can destroy the 400 before the client
    // has read it: the rest is read and dropped first, briefly and bounded.
    if (refused) co_await DrainRefused(stream);
}


std::string Service::ClientOf(const std::string& peer, const std::string& forwardedFor) const {
    if (forwardedFor.empty()) return peer;
    for (const std::string& proxy : config_.trustedProxies) {
        if (proxy == peer) {
            const std::string first = Trim(std::string_view(forwardedFor).substr(0, forwardedFor.find(',')));
            return first.empty() ? peer : first;
        }
    }
    return peer;
}

asio::awaitable<Service::Answer> Service::Route(const std::string& method, const std::string& target,
                                                const std::string& client) {
    if (method != "GET" && method != "HEAD") co_return Answer{405, "text/plain", kNoStore, "GET only\n", "method"};
    const std::size_t question = target.find('?');
    const std::string path = target.substr(0, question);
    const std::string query = question == std::string::npos ? std::string() : target.substr(question + 1);
    if (path == "/healthz") co_return Answer{200, "text/plain", kNoStore, "ok\n", "health"};
    if (path == "/ic.asp") co_return Location(client);
    if (path == "/search.php") co_return co_await Weather(query);
    if (path == "/tg") co_return SiteFile("/tg/");
    if (path.starts_with("/tg/")) co_return SiteFile(path);
    co_return NotFound();
}

Service::Answer Service::Location(const std::string& client) {
    std::optional<Place> place;
    const auto address = ParseIpv4(client);
    if (ipDatabase_ && address) {
        if (const auto region = ipDatabase_->Lookup(*address)) place = PlaceOf(*region);
    }
    // The page's two parts are converted once per place; the address is ASCII.
    const std::string key = place ? PlaceText(*place) : std::string();
    auto parts = locationPages_.find(key);
    if (parts == locationPages_.end()) {
        if (locationPages_.size() >= kMaxLocationPages) locationPages_.clear();
        const PageParts utf8 = LocationPageParts(place);
        parts = locationPages_.emplace(key, PageParts{Utf8ToGbk(utf8.before), Utf8ToGbk(utf8.after)}).first;
    }
    return {200, kGbkPage, kNoStore, parts->second.before + std::string(EchoedAddress(client)) + parts->second.after,
            place ? "place" : "no-place"};
}

std::optional<std::string_view> Service::CityOf(const std::string& query) const {
    // The calendar's own form, a listed name in GBK, is found without a
    // conversion; anything else goes through the full reading.
    if (const auto encoded = QueryValue(query, "city"); encoded && encoded->size() <= 120) {
        if (const auto bytes = PercentDecode(*encoded)) {
            const std::size_t end = bytes->find_last_not_of(' ');
            if (end != std::string::npos) {
                const auto it = gbkCities_.find(bytes->substr(0, end + 1));
                if (it != gbkCities_.end()) return it->second;
            }
        }
    }
    const auto asked = CityOfQuery(query);
    return asked ? ListedCity(*asked) : std::nullopt;
}

asio::awaitable<Service::Answer> Service::Weather(const std::string& query) {
    const auto city = CityOf(query);
    if (!city || !upstream_) co_return GbkPage(NoWeatherPage(""), "unknown-city");
    const std::string key(*city);
    const auto decision = cache_.Ask(key, std::chrono::steady_clock::now());
    std::string note = "hit";
    if (decision.step == ForecastCache::Step::Serve) {
        if (decision.page) co_return Answer{200, kGbkPage, kNoStore, *decision.page, "hit"};
        co_return GbkPage(NoWeatherPage(key), "upstream-down");
    }
    if (decision.step == ForecastCache::Step::Fetch) {
        auto page = co_await FetchPage(key);
        note = page ? "fetched" : "fetch-failed";
        cache_.Complete(key, std::move(page), std::chrono::steady_clock::now());
        if (auto it = waiting_.find(key); it != waiting_.end()) {
            it->second->cancel();
            waiting_.erase(it);
        }
    } else {
        auto& timer = waiting_[key];
        if (!timer) {
            // Bounded even if the fetch never reports: its own deadline plus a margin.
            timer = std::make_shared<asio::steady_timer>(
                io_, std::chrono::milliseconds(static_cast<int>(config_.upstreamSeconds * 1000)) + 500ms);
        }
        const auto held = timer;
        beast::error_code ec;
        co_await held->async_wait(asio::redirect_error(asio::use_awaitable, ec));
        note = "waited";
    }
    if (auto page = cache_.Answer(key)) co_return Answer{200, kGbkPage, kNoStore, std::move(*page), note};
    co_return GbkPage(NoWeatherPage(key), note);
}

asio::awaitable<std::optional<std::string>> Service::FetchPage(const std::string& city) {
    const auto point = PointOf(city);
    if (!point) co_return std::nullopt;
    const auto timeout = std::chrono::milliseconds(static_cast<int>(config_.upstreamSeconds * 1000));
    const auto json = co_await HttpGet(*upstream_, ForecastQuery(point->latitude, point->longitude), timeout, tls_);
    if (!json) co_return std::nullopt;
    const auto forecast = ParseForecast(*json);
    if (!forecast) co_return std::nullopt;
    co_return Utf8ToGbk(WeatherPage(city, *forecast));
}

Service::Answer Service::SiteFile(const std::string& path) const {
    const auto file = torvane::server::SiteFile(path);
    if (!file) return NotFound();
    std::ifstream in(config_.data + "/tg/" + *file, std::ios::binary);
    if (!in) return NotFound();
    std::string body;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        body.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (body.size() > kMaxSiteFile) return NotFound();
    }
    if (in.bad()) return NotFound();
    return {200, std::string(ContentTypeOf(*file)), std::string(CacheControlOf(*file)), std::move(body), "file"};
}

void Service::Log(const std::string& peer, const std::string& client, const std::string& method,
                  const std::string& target, const Answer& answer, std::size_t bytes, double milliseconds) {
    if (!accessLog_) return;
    const std::string line =
        AccessLine({peer, client, method, target, answer.status, bytes, milliseconds, answer.note}, std::time(nullptr));
    std::fwrite(line.data(), 1, line.size(), accessLog_);
}

asio::awaitable<void> Service::FlushLog() {
    asio::steady_timer timer(io_);
    while (!stopping_) {
        timer.expires_after(1s);
        beast::error_code ec;
        co_await timer.async_wait(asio::redirect_error(asio::use_awaitable, ec));
        if (accessLog_) std::fflush(accessLog_);
    }
    if (accessLog_) std::fflush(accessLog_);
}

}  // namespace torvane::server
