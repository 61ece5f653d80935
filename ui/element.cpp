#include "ui/element.h"

namespace torvane::ui {

ElementSet::ElementSet(std::vector<Element> elements)
    : items_(std::move(elements)), changed_(items_.size(), false) {
    for (size_t i = 0; i < items_.size(); ++i) items_[i].id = static_cast<uint16_t>(i);
}

void ElementSet::Mark(size_t id) {
    if (id >= items_.size() || changed_[id]) return;
    changed_[id] = true;
    order_.push_back(static_cast<uint16_t>(id));
}

void ElementSet::SetText(size_t id, std::string text) {
    if (id >= items_.size() || items_[id].text == text) return;
    items_[id].text = std::move(text);
    Mark(id);
}

void ElementSet::SetVisible(size_t id, bool visible) {
    if (id >= items_.size() || items_[id].visible == visible) return;
    items_[id].visible = visible;
    Mark(id);
}

void ElementSet::SetRect(size_t id, const Rect& rect) {
    if (id >= items_.size() || items_[id].rect == rect) return;
    items_[id].rect = rect;
    Mark(id);
}

void ElementSet::SetLook(size_t id, Look look) {
    if (id >= items_.size() || items_[id].look == look) return;
    items_[id].look = look;
    Mark(id);
}

void ElementSet::SetPicture(size_t id, std::string path) {
    if (id >= items_.size() || items_[id].picture == path) return;
    items_[id].picture = std::move(path);
    Mark(id);
}

void ElementSet::MarkChanged(size_t id) { Mark(id); }

ElementSet::Changes ElementSet::TakeChanges() {
    Changes changes{all_, std::move(order_)};
    order_.clear();
    changed_.assign(items_.size(), false);
    all_ = false;
    return changes;
}

std::optional<uint16_t> ElementSet::At(Point pixel, const Dpi& dpi) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (it->visible && dpi.Px(it->rect).Contains(pixel)) return it->id;
    }
    return std::nullopt;
}

}  // namespace torvane::ui
