// The sections and keys of "set.ini" and "version.ini", and the readers of
// the entries that several programs share.
#pragma once

#include <string>
#include <string_view>

#include "common/settings.h"

namespace torvane {

// set.ini
inline constexpr std::string_view kSysSection = "sys";
inline constexpr std::string_view kWeatherShownKey = "x1";     // city, weather captions, icon
inline constexpr std::string_view kWeatherTextShownKey = "x2"; // weather text, temperatures
inline constexpr std::string_view kClockShownKey = "x3";
inline constexpr std::string_view kDateShownKey = "x4";
inline constexpr std::string_view kLunarDateShownKey = "x5";
inline constexpr std::string_view kFestivalsShownKey = "x6";
inline constexpr std::string_view kAutostartKey = "x7";
inline constexpr std::string_view kWeatherBalloonKey = "x8";
inline constexpr std::string_view kAutoUpgradeKey = "x9";
// The calendar reads it as "version"/"version", the updater writes it as
// "Version"/"Version"; the store's case-blind lookup makes them one entry.
inline constexpr std::string_view kInstalledVersionSection = "version";
inline constexpr std::string_view kInstalledVersionKey = "version";
inline constexpr std::string_view kUpdaterVersionSection = "Version";
inline constexpr std::string_view kUpdaterVersionKey = "Version";

// Read-only overrides of the built-in public addresses.
inline constexpr std::string_view kServerSection = "server";
inline constexpr std::string_view kHomeKey = "home";
inline constexpr std::string_view kLocationKey = "location";
inline constexpr std::string_view kWeatherKey = "weather";
inline constexpr std::string_view kUpdateKey = "update";
inline constexpr std::string_view kProbeKey = "probe";

// version.ini
inline constexpr std::string_view kVersionFileSection = "Version";
inline constexpr std::string_view kRemoteVersionKey = "Version";
inline constexpr std::string_view kDownUrlKey = "DownUrl";
inline constexpr std::string_view kDownNameKey = "DownName";
// The installer's SHA-256 in hexadecimal; the updater runs nothing that does
// not match it. The file's signature covers it (common/version_file.h).
inline constexpr std::string_view kDownSha256Key = "Sha256";

struct ServerAddresses {
    std::string home;      // product home page
    std::string location;  // IP location page
    std::string weather;   // weather search page, the city name is appended
    std::string update;    // update server
    std::string probe;     // connectivity probe
};

// The addresses built into the programs.
ServerAddresses DefaultServerAddresses();
// The built-in addresses, each replaced by a non-empty value of [server].
ServerAddresses LoadServerAddresses(Settings& settings);
// A page of a server: its address, with or without a closing "/", and the
// page's path from its leading "/" (the update server's "/tg/").
std::string ServerPage(std::string_view server, std::string_view path);

struct VersionFileEntries {
    std::string version;
    std::string downUrl;
    std::string downName;
    std::string sha256;
};

// The entries of "version.ini"; each is empty when missing.
VersionFileEntries LoadVersionFile(Settings& versionFile);

}  // namespace torvane
