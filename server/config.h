// The service's settings, read once at start: flags, and a config file of
// "key = value" lines with the same keys (flags win over the file).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace torvane::server {

struct Config {
    std::string bind = "0.0.0.0";
    std::uint16_t port = 8080;
    std::string data = ".";  // the "tg" folder and ip2region.db
    std::string ipDatabase;  // default: <data>/ip2region.db
    std::string weatherUpstream = "https://api.open-meteo.com";
    std::vector<std::string> trustedProxies;
    std::string accessLog = "-";  // "-" is standard output
    std::string portFile;  // written with the bound port once listening (for --port 0)
    double upstreamSeconds = 3;
    int cacheSeconds = 900;
};

// The configuration of a command line, or the text of what is wrong with it.
std::variant<Config, std::string> ParseCommandLine(const std::vector<std::string>& args);

// The parts of an upstream's base address ("https://host[:port][/path]").
struct UpstreamUrl {
    bool tls = false;
    std::string host;
    std::string port;
    std::string basePath;  // without a trailing "/"
};
std::optional<UpstreamUrl> ParseUpstreamUrl(const std::string& url);

// One "key = value" setting applied to `config`; false for an unknown key or
// a bad value.
bool ApplySetting(Config& config, const std::string& key, const std::string& value);

std::string Usage();

}  // namespace torvane::server
