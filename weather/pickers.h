// The province and city pickers of the main window: two image combo boxes,
// hidden until the city label is pressed. T1's tick fills the provinces; a
// change of the province refills the cities; a click on the city picker's
// text asks for that city's weather, which then becomes the current city.
// The choice is not kept: the next start locates the city again.
#pragma once

#include <span>

#include "calendar/component.h"
#include "controls/combo.h"
#include "weather/weather_component.h"

namespace torvane::weather {

class Pickers final : public calendar::Component, private controls::ComboEvents {
public:
    explicit Pickers(WeatherComponent& weather);

    controls::Combo& text2() { return text2_; }
    controls::Combo& Combo3() { return combo3_; }
    bool Shown() const { return shown_; }

    std::span<const Ctl> ClickTargets() const override;
    ViewChanges OnClick(Ctl id) override;
    ViewChanges OnEvent(WindowEvent event) override;

private:
    void Change(controls::Combo& combo) override;
    void Click(controls::Combo& combo) override;
    void FillProvinces();
    void RefillCities();
    ViewChanges Show(bool shown);

    WeatherComponent& weather_;
    controls::Combo text2_{"text2", this};
    controls::Combo combo3_{"Combo3", this};
    bool shown_ = false;
};

}  // namespace torvane::weather
