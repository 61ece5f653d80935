#include "ui/win/picture_cache.h"

#include <algorithm>

#include "common/win/gdiplus.h"
#include "common/win/wide_text.h"

namespace torvane::ui::win {

namespace gp = Gdiplus;

struct PictureCache::Entry {
    Rect box;  // the place it was decoded for
    int dpi = 0;
    std::unique_ptr<gp::Bitmap> bitmap;  // null: the file could not be read
};

PictureCache::PictureCache() = default;
PictureCache::~PictureCache() = default;

const PictureCache::Entry* PictureCache::Find(const std::string& path, const Rect& box, const Dpi& dpi) {
    std::unique_ptr<Entry>& entry = entries_[path];
    if (entry && entry->box == box && entry->dpi == dpi.value()) return entry.get();
    // Only what is on screen stays: a new weather text makes the old one
    // stale, unless it is the one shown in place of a broken file.
    for (auto it = entries_.begin(); it != entries_.end();) {
        it = it->first == path || it->first == lastGood_ ? std::next(it) : entries_.erase(it);
    }
    entry = std::make_unique<Entry>();
    entry->box = box;
    entry->dpi = dpi.value();
    if (!torvane::win::EnsureGdiplus()) return entry.get();
    gp::Bitmap file(Utf8ToWide(path).c_str());
    const int w = static_cast<int>(file.GetWidth()), h = static_cast<int>(file.GetHeight());
    if (file.GetLastStatus() != gp::Ok || w <= 0 || h <= 0 || box.width <= 0 || box.height <= 0)
        return entry.get();
    // Its own size at this DPI, shrunk (never stretched) to the box.
    double scale = dpi.value() / static_cast<double>(kDesignDpi);
    scale = std::min({scale, box.width / static_cast<double>(w), box.height / static_cast<double>(h)});
    const int sw = std::max(1, static_cast<int>(w * scale + 0.5)), sh = std::max(1, static_cast<int>(h * scale + 0.5));
    auto shown = std::make_unique<gp::Bitmap>(sw, sh, PixelFormat32bppPARGB);
    gp::Graphics g(shown.get());
    g.SetInterpolationMode(gp::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
    if (g.DrawImage(&file, 0, 0, sw, sh) == gp::Ok) entry->bitmap = std::move(shown);
    return entry.get();
}

void PictureCache::Draw(HDC dc, const std::string& path, const Rect& box, const Dpi& dpi) {
    if (path.empty()) return;
    const Entry* entry = Find(path, box, dpi);
    if (entry && entry->bitmap) {
        lastGood_ = path;
    } else if (!lastGood_.empty() && lastGood_ != path) {
        entry = Find(lastGood_, box, dpi);
    }
    if (!entry || !entry->bitmap) return;
    const int w = static_cast<int>(entry->bitmap->GetWidth()), h = static_cast<int>(entry->bitmap->GetHeight());
    gp::Graphics g(dc);
    g.DrawImage(entry->bitmap.get(), box.left + (box.width - w) / 2, box.top + (box.height - h) / 2, w, h);
}

}  // namespace torvane::ui::win
