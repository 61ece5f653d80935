// The weather block of the main window: at start-up the city is found from
// the IP address, then its weather is asked for; the refresh icon asks
// again; the city pickers ask for the city chosen. Every fetch runs in the
// background, so the window is shown at once and answers while it waits.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "calendar/component.h"
#include "common/background_work.h"
#include "common/http_get.h"
#include "common/settings.h"

namespace torvane::weather {

using calendar::Ctl;
using calendar::ViewChanges;
using calendar::WindowEvent;

struct WeatherPorts {
    BackgroundWork& work;
    std::shared_ptr<HttpGet> http;  // shared with workers that outlive a time-out
    Settings& settings;
    calendar::ComponentHost& host;
};

struct WeatherConfig {
    std::string locationUrl;    // the IP-location page
    std::string weatherUrl;     // the weather search, ending in "city="
    std::string pictureFolder;  // where "<weather text>.gif" lives, with its separator
};

inline constexpr std::string_view kBalloonTitle = "天气提示";
inline constexpr double kFetchSeconds = 5;

class WeatherComponent final : public calendar::Component {
public:
    WeatherComponent(const WeatherPorts& ports, WeatherConfig config);

    std::span<const Ctl> ClickTargets() const override;
    ViewChanges OnClick(Ctl id) override;
    ViewChanges OnEvent(WindowEvent event) override;

    // The city pickers' entry: asks for `city`'s weather and makes it the
    // current city once the answer is in (or the time is up); no balloon.
    // From then on the located city changes neither the label nor the weather.
    void QueryCity(std::string city);

    bool Locating() const { return locating_; }

private:
    // What follows a query's answer: the city label takes the city asked
    // for, and/or the balloon repeats the result.
    struct After {
        bool setCity = false;
        bool balloon = false;
    };

    void Locate();
    void Query(std::string city, After after);
    void ShowWeather(const std::string& page);
    void ShowBalloon();

    WeatherPorts ports_;
    WeatherConfig config_;
    std::string location_;  // the city found last, with its space
    std::string label14_;   // the hidden holder of text 5
    bool locating_ = false;
    bool chosen_ = false;  // the user picked a city: the location no longer counts
    // The picked city while its query waits: a refresh asks for it again.
    std::optional<std::string> waitingCity_;
};

}  // namespace torvane::weather
