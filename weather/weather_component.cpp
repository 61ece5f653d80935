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
    if (id != Ctl::Image7) return {};
    // The user's latest intent wins: a picked city still waiting is asked
    // for again (the new query supersedes the old one, whose city would
    // otherwise be lost), and the label still ends on it.
    if (waitingCity_) {
        Query(*waitingCity_, After{.setCity = true, .balloon = true});
        return {};
    }
    // While the city is still being found, the query that follows it is the
    // refresh; a query now would ask for the placeholder caption.
    if (!locating_ || chosen_) Query(ports_.host.TextOf(Ctl::Label12), After{.balloon = true});
    return {};
}

void WeatherComponent::QueryCity(std::string city) {
    chosen_ = true;
    Query(std::move(city), After{.setCity = true});
}

void WeatherComponent::Locate() {
    locating_ = true;
    GetYM(ports_.work, ports_.http, std::string(kLocationJob), config_.locationUrl, std::string(kCharset),
          kFetchSeconds, [this](std::string page) {
              locating_ = false;
              if (std::optional<std::string> city = ParseLocation(page)) location_ = std::move(*city);
              // A city the user picked meanwhile stays, with its weather.
              if (chosen_) return;
              ports_.host.Apply({Text(Ctl::Label12, location_)});
              Query(location_, After{.balloon = true});
          });
}

void WeatherComponent::Query(std::string city, After after) {
    // Every weather query supersedes the one before; only a picked city's
    // query leaves a city waiting.
    waitingCity_.reset();
    if (after.setCity) waitingCity_ = city;
    const auto answered = [this, city, after](const std::string& page) {
        if (after.setCity) waitingCity_.reset();
        ShowWeather(page);
        if (after.setCity) ports_.host.Apply({Text(Ctl::Label12, city)});
        if (after.balloon) ShowBalloon();
    };
    const JobId job = GetYM(ports_.work, ports_.http, std::string(kWeatherJob),
                            config_.weatherUrl + PercentEncodeGbk(city), std::string(kCharset), kFetchSeconds,
                            [answered](std::string page) { answered(page); });
    // No worker to ask: as a page that cannot be fetched, which still makes
    // a picked city the current one.
    if (job == kNoJob) answered(std::string());
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
