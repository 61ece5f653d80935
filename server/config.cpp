#include "server/config.h"

#include <charconv>
#include <fstream>

namespace torvane::server {
namespace {

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

template <class Number>
bool ParseNumber(const std::string& text, Number& out, Number min, Number max) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) return false;
    out = value;
    return true;
}

// The settings of a config file; the error's text, or empty.
std::string ReadConfigFile(const std::string& path, Config& config) {
    std::ifstream file(path);
    if (!file) return "cannot read the config file " + path;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !ApplySetting(config, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)))) {
            return path + ":" + std::to_string(number) + ": not a setting: " + line;
        }
    }
    return {};
}

}  // namespace

std::optional<UpstreamUrl> ParseUpstreamUrl(const std::string& url) {
    UpstreamUrl out;
    std::string rest;
    if (url.starts_with("https://")) {
        out.tls = true, out.port = "443", rest = url.substr(8);
    } else if (url.starts_with("http://")) {
        out.port = "80", rest = url.substr(7);
    } else {
        return std::nullopt;
    }
    const std::size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    out.basePath = slash == std::string::npos ? "" : rest.substr(slash);
    while (!out.basePath.empty() && out.basePath.back() == '/') out.basePath.pop_back();
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        int port = 0;
        if (!ParseNumber(authority.substr(colon + 1), port, 1, 65535)) return std::nullopt;
        out.port = std::to_string(port);
        authority.resize(colon);
    }
    if (authority.empty() || authority.find_first_of("@?# ") != std::string::npos) return std::nullopt;
    out.host = authority;
    return out;
}

bool ApplySetting(Config& config, const std::string& key, const std::string& value) {
    if (key == "port") {
        int port = 0;
        if (!ParseNumber(value, port, 0, 65535)) return false;
        config.port = static_cast<std::uint16_t>(port);
    } else if (key == "bind") {
        config.bind = value;
    } else if (key == "data") {
        config.data = value;
    } else if (key == "ip-database") {
        config.ipDatabase = value;
    } else if (key == "weather-upstream") {
        if (!ParseUpstreamUrl(value)) return false;
        config.weatherUpstream = value;
    } else if (key == "trusted-proxy") {
        config.trustedProxies.push_back(value);
    } else if (key == "port-file") {
        config.portFile = value;
    } else if (key == "access-log") {
        config.accessLog = value;
    } else if (key == "upstream-timeout") {
        if (!ParseNumber(value, config.upstreamSeconds, 0.1, 3.0)) return false;
    } else if (key == "cache-seconds") {
        if (!ParseNumber(value, config.cacheSeconds, 1, 86400)) return false;
    } else {
        return false;
    }
    return !value.empty();
}

std::variant<Config, std::string> ParseCommandLine(const std::vector<std::string>& args) {
    Config config;
    // The file first, so that flags override it.
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--config") {
            if (std::string error = ReadConfigFile(args[i + 1], config); !error.empty()) return error;
        }
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (!flag.starts_with("--")) return "unexpected argument " + flag;
        if (i + 1 >= args.size()) return "no value after " + flag;
        const std::string& value = args[++i];
        if (flag == "--config") continue;
        if (!ApplySetting(config, flag.substr(2), value)) return "bad " + flag + " " + value;
    }
    return config;
}

std::string Usage() {
    return "usage: torvane-server [--port N] [--bind ADDR] [--data DIR] [--ip-database FILE]\n"
           "                      [--weather-upstream URL] [--trusted-proxy ADDR]... [--access-log FILE|-]\n"
           "                      [--upstream-timeout SECONDS] [--cache-seconds N] [--port-file FILE]\n"
           "                      [--config FILE]\n";
}

}  // namespace torvane::server
