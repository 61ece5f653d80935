#include "ui/press.h"

namespace torvane::ui {

Press PressModel::Down(const ElementSet& elements, Point pixel, const Dpi& dpi, bool primary) {
    held_.reset();
    Press press;
    press.over = elements.At(pixel, dpi);
    if (!press.over) return press;
    const uint8_t traits = elements[*press.over].traits;
    const bool clickable = (traits & kClickable) != 0;
    if (traits & kActsOnPress) {
        press.action = PressAction::Act;
    } else if (traits & kDragsWindow) {
        press.action = PressAction::Drag;
        press.clickIfStill = primary && clickable;
    } else if (primary && clickable) {
        press.action = PressAction::Hold;
        held_ = press.over;
    }
    return press;
}

std::optional<uint16_t> PressModel::Up(const ElementSet& elements, Point pixel, const Dpi& dpi, bool primary) {
    const std::optional<uint16_t> held = held_;
    held_.reset();
    if (!held || !primary) return std::nullopt;
    return elements.At(pixel, dpi) == held ? held : std::nullopt;
}

}  // namespace torvane::ui
