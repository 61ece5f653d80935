#include "ui/repaint.h"

namespace torvane::ui {

RepaintTracker::Repaint RepaintTracker::Update(const ElementSet& elements, const ElementSet::Changes& changes,
                                               const Dpi& dpi) {
    Repaint repaint;
    painted_.resize(elements.size());
    const auto place = [&](const Element& e) {
        painted_[e.id] = e.visible ? std::optional<Rect>(dpi.Px(e.rect)) : std::nullopt;
    };
    if (changes.all) {
        for (const Element& e : elements) place(e);
        repaint.all = true;
        return repaint;
    }
    for (uint16_t id : changes.ids) {
        if (id >= elements.size()) continue;
        const std::optional<Rect> before = painted_[id];
        place(elements[id]);
        const std::optional<Rect>& now = painted_[id];
        if (before && !before->empty()) repaint.rects.push_back(*before);
        if (now && !now->empty() && now != before) repaint.rects.push_back(*now);
    }
    return repaint;
}

}  // namespace torvane::ui
