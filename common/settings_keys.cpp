#include "common/settings_keys.h"

#include <utility>

#include "build_config.h"

namespace torvane {
namespace {

void Override(Settings& settings, std::string_view key, std::string& address)
{
    std::string value = settings.ReadSetting(kServerSection, key, "");
    if (!value.empty()) {
        address = std::move(value);
    }
}

}  // namespace

ServerAddresses DefaultServerAddresses()
{
    return ServerAddresses{TORVANE_HOME_URL, TORVANE_LOCATION_URL, TORVANE_WEATHER_URL,
                           TORVANE_UPDATE_URL, TORVANE_PROBE_URL};
}

ServerAddresses LoadServerAddresses(Settings& settings)
{
    ServerAddresses addresses = DefaultServerAddresses();
    Override(settings, kHomeKey, addresses.home);
    Override(settings, kLocationKey, addresses.location);
    Override(settings, kWeatherKey, addresses.weather);
    Override(settings, kUpdateKey, addresses.update);
    Override(settings, kProbeKey, addresses.probe);
    return addresses;
}

std::string ServerPage(std::string_view server, std::string_view path)
{
    while (!server.empty() && server.back() == '/') {
        server.remove_suffix(1);
    }
    return std::string(server).append(path);
}

VersionFileEntries LoadVersionFile(Settings& versionFile)
{
    return VersionFileEntries{versionFile.ReadSetting(kVersionFileSection, kRemoteVersionKey, ""),
                              versionFile.ReadSetting(kVersionFileSection, kDownUrlKey, ""),
                              versionFile.ReadSetting(kVersionFileSection, kDownNameKey, ""),
                              versionFile.ReadSetting(kVersionFileSection, kDownSha256Key, "")};
}

}  // namespace torvane
