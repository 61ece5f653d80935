// A load generator for torvane-server (a benchmark, not a test): N keep-alive
// connections on 127.0.0.1 ask one target as fast as the answers come, until
// a request count or a time limit; prints requests per second and latency
// percentiles. With --rate the connections together send that many requests
// a second on a fixed schedule, and a request's latency counts from the
// moment it was due (a late answer delays the next one's start too).
//   server_load --port P --target /ic.asp [--connections 1000]
//               [--requests 200000] [--seconds 20] [--rate 20000]
#include <utility>

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/redirect_error.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using Clock = std::chrono::steady_clock;

struct Run {
    std::string target = "/ic.asp";
    unsigned short port = 8080;
    int connections = 1000;
    long requests = 200000;
    double seconds = 20;
    double rate = 0;  // requests per second over all connections; 0: as fast as answered
    long started = 0;
    long failed = 0;
    Clock::time_point deadline;
    std::vector<double> latencies;  // milliseconds
};

asio::awaitable<void> Client(Run& run, int index) {
    auto executor = co_await asio::this_coro::executor;
    beast::tcp_stream stream(executor);
    beast::error_code ec;
    co_await stream.async_connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), run.port),
                                  asio::redirect_error(asio::use_awaitable, ec));
    if (ec) {
        ++run.failed;
        co_return;
    }
    http::request<http::empty_body> request{http::verb::get, run.target, 11};
    request.set(http::field::host, "127.0.0.1");
    beast::flat_buffer buffer;
    const auto interval = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(run.rate > 0 ? run.connections / run.rate : 0));
    auto due = Clock::now() + interval * index / run.connections;  // spread over one interval
    asio::steady_timer pace(executor);
    while (run.started < run.requests && Clock::now() < run.deadline) {
        ++run.started;
        if (run.rate > 0) {
            pace.expires_at(due);
            co_await pace.async_wait(asio::redirect_error(asio::use_awaitable, ec));
        }
        const auto t0 = run.rate > 0 ? due : Clock::now();
        due += interval;
        co_await http::async_write(stream, request, asio::redirect_error(asio::use_awaitable, ec));
        http::response<http::string_body> response;
        if (!ec) co_await http::async_read(stream, buffer, response, asio::redirect_error(asio::use_awaitable, ec));
        if (ec || response.result() != http::status::ok) {
            ++run.failed;
            co_return;
        }
        run.latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
}

int main(int argc, char** argv) {
    Run run;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i], value = argv[i + 1];
        if (flag == "--port") run.port = static_cast<unsigned short>(std::atoi(value.c_str()));
        else if (flag == "--target") run.target = value;
        else if (flag == "--connections") run.connections = std::clamp(std::atoi(value.c_str()), 1, 20000);
        else if (flag == "--requests") run.requests = std::clamp(std::atol(value.c_str()), 1L, 10000000L);
        else if (flag == "--seconds") run.seconds = std::clamp(std::atof(value.c_str()), 0.1, 120.0);
        else if (flag == "--rate") run.rate = std::clamp(std::atof(value.c_str()), 0.0, 1e7);
    }
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    run.latencies.reserve(static_cast<std::size_t>(run.requests));
    asio::io_context io(1);
    const auto begin = Clock::now();
    run.deadline = begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(run.seconds));
    for (int i = 0; i < run.connections; ++i) asio::co_spawn(io, Client(run, i), asio::detached);
    io.run();
    const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
    std::sort(run.latencies.begin(), run.latencies.end());
    const auto percentile = [&](double p) {
        if (run.latencies.empty()) return 0.0;
        return run.latencies[std::min(run.latencies.size() - 1, static_cast<std::size_t>(p * run.latencies.size()))];
    };
    std::printf("%s: %zu answers in %.2f s over %d connections = %.0f requests/s; latency p50 %.2f ms, "
                "p99 %.2f ms, max %.2f ms; %ld failed\n",
                run.target.c_str(), run.latencies.size(), elapsed, run.connections,
                static_cast<double>(run.latencies.size()) / elapsed, percentile(0.50), percentile(0.99),
                run.latencies.empty() ? 0.0 : run.latencies.back(), run.failed);
    return run.failed == 0 ? 0 : 1;
}
