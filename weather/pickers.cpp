#include "weather/pickers.h"

#include <array>

#include "weather/city_table.h"

namespace torvane::weather {
namespace {

constexpr std::array<Ctl, 1> kTargets = {Ctl::Label12};

controls::ComboProperties Designed(std::string text, bool locked) {
    controls::ComboProperties p;
    p.text = std::move(text);
    p.locked = locked;
    p.enabled = true;
    return p;
}

}  // namespace

Pickers::Pickers(WeatherComponent& weather) : weather_(weather) {
    text2_.ReadProperties(Designed("福建省", false));
    // The city picker only offers its list: the weather page knows no other names.
    combo3_.ReadProperties(Designed("宁德市", true));
}

std::span<const Ctl> Pickers::ClickTargets() const { return kTargets; }

ViewChanges Pickers::OnClick(Ctl id) {
    if (id != Ctl::Label12) return {};
    return Show(!shown_);
}

ViewChanges Pickers::OnEvent(WindowEvent event) {
    switch (event) {
        case WindowEvent::ListsFilled: FillProvinces(); return {};
        case WindowEvent::SkinPressed: return Show(false);
        default: return {};
    }
}

ViewChanges Pickers::Show(bool shown) {
    shown_ = shown;
    return {{Ctl::text2, {}, shown, {}}, {Ctl::Combo3, {}, shown, {}}};
}

void Pickers::FillProvinces() {
    // Each append selects the new province and so refills the cities.
    for (const Province& province : Provinces()) text2_.AddItem(province.name);
    text2_.SetListIndex(0);
    RefillCities();
}

void Pickers::RefillCities() {
    combo3_.Clear();  // the text stays until a city is selected
    if (const Province* province = FindProvince(text2_.Text())) {
        for (std::string_view city : province->cities) combo3_.AddItem(city);
    }
    combo3_.SetListIndex(0);
}

void Pickers::Change(controls::Combo& combo) {
    if (&combo == &text2_) RefillCities();
}

void Pickers::Click(controls::Combo& combo) {
    if (&combo == &combo3_) weather_.QueryCity(combo3_.Text());
}

}  // namespace torvane::weather
