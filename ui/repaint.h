// Which pixels of a window must be painted again after its elements changed:
// where each changed element was and where it is now. The view invalidates
// exactly these rectangles, so an idle window repaints only what moves.
#pragma once

#include <optional>
#include <vector>

#include "ui/element.h"

namespace torvane::ui {

class RepaintTracker {
public:
    struct Repaint {
        bool all = false;         // the whole client
        std::vector<Rect> rects;  // device pixels of the client
    };

    // Takes the changes the view just received and remembers where every
    // visible element now lies.
    Repaint Update(const ElementSet& elements, const ElementSet::Changes& changes, const Dpi& dpi);

private:
    std::vector<std::optional<Rect>> painted_;
};

}  // namespace torvane::ui
