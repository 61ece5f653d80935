// What a press of a mouse button on a window's elements does, the same in
// every window: an element that acts on press is clicked at once, one that
// drags the window starts the move loop, a clickable one is clicked when the
// button is released over it again. The model keeps what it does with each.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/element.h"
#include "ui/geometry.h"
#include "ui/units.h"

namespace torvane::ui {

enum class PressAction : uint8_t {
    None,  // nothing under the pointer, or an element a press does not reach
    Act,   // clicked at the press itself
    Drag,  // the window's move loop; the loop swallows the release
    Hold,  // clicked if released over the same element
};

struct Press {
    std::optional<uint16_t> over;  // the front-most element under the pointer
    PressAction action = PressAction::None;
    // A drag that leaves the window where it was still clicks the element.
    bool clickIfStill = false;
};

class PressModel {
public:
    // A press at a device pixel of the client; `primary` is the left button,
    // the only one that holds or clicks.
    Press Down(const ElementSet& elements, Point pixel, const Dpi& dpi, bool primary = true);
    // The release: the element clicked, when it is the one held.
    std::optional<uint16_t> Up(const ElementSet& elements, Point pixel, const Dpi& dpi, bool primary = true);
    // Forgets a held press (the window hid, or the press went elsewhere).
    void Cancel() { held_.reset(); }
    bool holding() const { return held_.has_value(); }

    // Runs the view's move loop with dragging() true while it lasts, so the
    // view can show the move pointer; returns the loop's answer.
    template <class Loop>
    auto Drag(Loop&& loop) {
        struct Flag {
            bool& on;
            ~Flag() { on = false; }
        } flag{dragging_ = true};
        return loop();
    }
    bool dragging() const { return dragging_; }

private:
    std::optional<uint16_t> held_;
    bool dragging_ = false;
};

// The element under a device pixel, as the window's own id enum.
template <class Id>
std::optional<Id> ElementAt(const ElementSet& elements, Point pixel, const Dpi& dpi) {
    const std::optional<uint16_t> id = elements.At(pixel, dpi);
    return id ? std::optional<Id>(static_cast<Id>(*id)) : std::nullopt;
}

}  // namespace torvane::ui
