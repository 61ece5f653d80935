// torvane-server: the other end of the calendar's pages. One thread, one
// io_context; see README "The service".
#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <variant>

#include "server/config.h"
#include "server/ip_database.h"
#include "server/net/service.h"

namespace {

using torvane::server::Config;

// Requests still running at a stop get this long to end.
constexpr auto kStopGrace = std::chrono::seconds(5);

std::FILE* OpenAccessLog(const std::string& path) {
    if (path == "-") return stdout;
    if (path.empty() || path == "off") return nullptr;
    return std::fopen(path.c_str(), "a");
}

// Every connection is a descriptor: take the most the system allows.
void RaiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    RaiseDescriptorLimit();
    const auto parsed = torvane::server::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "torvane-server: " << *error << "\n" << torvane::server::Usage();
        return 2;
    }
    const Config config = std::get<Config>(parsed);
    const std::string dbPath = config.ipDatabase.empty() ? config.data + "/ip2region.db" : config.ipDatabase;
    auto database = torvane::server::IpDatabase::FromFile(dbPath);
    if (!database) std::cerr << "torvane-server: no IP database at " << dbPath << ": /ic.asp names no place\n";
    std::FILE* log = OpenAccessLog(config.accessLog);
    if (!log && config.accessLog != "off") std::cerr << "torvane-server: cannot open " << config.accessLog << "\n";
    if (log) std::setvbuf(log, nullptr, _IOFBF, 1 << 16);

    boost::asio::io_context io(1);
    torvane::server::Service service(io, config, std::move(database), log);
    const unsigned short port = service.Start();
    if (port == 0) {
        std::cerr << "torvane-server: cannot listen on " << config.bind << ":" << config.port << "\n";
        return 1;
    }
    if (!config.portFile.empty()) {
        const std::string temporary = config.portFile + ".tmp";
        std::ofstream(temporary) << port << "\n";
        std::rename(temporary.c_str(), config.portFile.c_str());
    }
    std::cerr << "torvane-server: listening on " << config.bind << ":" << port << "\n";

    boost::asio::signal_set signals(io, SIGTERM, SIGINT);
    boost::asio::steady_timer grace(io);
    signals.async_wait([&](const boost::system::error_code& ec, int) {
        if (ec) return;
        std::cerr << "torvane-server: stopping\n";
        service.Stop();
        grace.expires_after(kStopGrace);
        grace.async_wait([&](const boost::system::error_code& e) {
            if (!e) io.stop();
        });
    });
    io.run();
    if (log) std::fflush(log);
    std::cerr << "torvane-server: stopped\n";
    return 0;
}
