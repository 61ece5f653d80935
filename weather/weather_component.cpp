#include "weather/weather_component.h"

#include <array>

#include "common/file_io.h"
#include "common/settings_keys.h"
#include "weather/fetch.h"
#include "weather/pages.h"

namespace torvane::weather {
namespace {

constexpr std::string_view kCharset = "gb2312";
// One kind per page: a newer query supersedes an older one, so an old
// city's late answer never overwrites the new city's weather.
constexpr std::string_view kLocationJob = "location";
constexpr std::string_view kWeatherJob = "weather";
constexpr std::array<Ctl, 1> kTargets = {Ctl::Image7};

calendar::ElementChange Text(Ctl id, std::string text) { return {id, std::move(text), {}, {}}; }

}  // namespace

WeatherComponent::WeatherComponent(const WeatherPorts& ports, WeatherConfig config)
    : ports_(ports), config_(std::move(config)) {}

std::span<const Ctl> WeatherComponent::ClickTargets() const { return kTargets; }

ViewChanges WeatherComponent::OnEvent(WindowEvent event) {
    if (event == WindowEvent::Starting) Locate();
    return {};
}

ViewChanges WeatherComponent::OnClick(Ctl id) {
    // While the city is still being found, the query that follows it is the
    // refresh; a query now would ask for the placeholder caption.
    if (id == Ctl::Image7 && !locating_) Query(ports_.host.TextOf(Ctl::Label12), After::Balloon);
    return {};
}

void WeatherComponent::QueryCity(std::string city) { Query(std::move(city), After::SetCity); }

void WeatherComponent::Locate() {
    locating_ = true;
    GetYM(ports_.work, ports_.http, std::string(kLocationJob), config_.locationUrl, std::string(kCharset),
          kFetchSeconds, [this](std::string page) {
              locating_ = false;
              if (std::optional<std::string> city = ParseLocation(page)) location_ = std::move(*city);
              ports_.host.Apply({Text(Ctl::Label12, location_)});
              Query(location_, After::Balloon);
          });
}

void WeatherComponent::Query(std::string city, After after) {
    GetYM(ports_.work, ports_.http, std::string(kWeatherJob), config_.weatherUrl + PercentEncodeGbk(city),
          std::string(kCharset), kFetchSeconds, [this, city, after](std::string page) {
              ShowWeather(page);
              if (after == After::SetCity) {
                  ports_.host.Apply({Text(Ctl::Label12, city)});
              } else {
                  ShowBalloon();
              }
          });
}

void WeatherComponent::ShowWeather(const std::string& page) {
    calendar::ComponentHost& host = ports_.host;
    if (const std::optional<WeatherRuns> runs = ParseWeather(page)) {
        ViewChanges changes;
        if (runs->text1) changes.push_back(Text(Ctl::Label8, *runs->text1));
        if (runs->text5) label14_ = *runs->text5;
        if (runs->text8) changes.push_back(Text(Ctl::Label9, *runs->text8));
        if (runs->text10) changes.push_back(Text(Ctl::Label10, *runs->text10));
        host.Apply(changes);
    }
    // The icon follows the weather text when a picture of that name exists;
    // otherwise the previous one stays.
    const std::string& sky = host.TextOf(Ctl::Label9);
    if (IsPlainFileName(sky)) {
        std::string picture = config_.pictureFolder + sky + ".gif";
        if (FileExists(picture)) host.Apply({{Ctl::Image5, {}, {}, std::move(picture)}});
    }
    host.Apply({Text(Ctl::Label13, host.TextOf(Ctl::Label8) + "-" + label14_)});
}

void WeatherComponent::ShowBalloon() {
    if (!IsFlagOn(ports_.settings.ReadSetting(kSysSection, kWeatherBalloonKey, ""))) return;
    calendar::ComponentHost& host = ports_.host;
    const std::string text = host.TextOf(Ctl::Label1) + "[" + host.TextOf(Ctl::Label12) + "][" +
                             host.TextOf(Ctl::Label9) + "]" + host.TextOf(Ctl::Label13);
    host.Announce(kBalloonTitle, text);
}

}  // namespace torvane::weather
