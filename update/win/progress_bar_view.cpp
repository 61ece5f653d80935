#include "update/win/progress_bar_view.h"

#include "update/win/resource_ids.h"

namespace torvane::update::win {

namespace {

constexpr uint16_t kFirstPicture = static_cast<uint16_t>(ProgressPicture::Picture1);

}  // namespace

ProgressSkins::ProgressSkins(HINSTANCE instance) {
    for (size_t i = 0; i < bitmaps_.size(); ++i) {
        const int id = kFirstProgressPicture + kFirstPicture + static_cast<int>(i);
        bitmaps_[i].reset(static_cast<HBITMAP>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
}

HBITMAP ProgressSkins::Get(uint16_t picture) const {
    const size_t index = static_cast<size_t>(picture) - kFirstPicture;
    return picture >= kFirstPicture && index < bitmaps_.size() ? bitmaps_[index].get() : nullptr;
}

}  // namespace torvane::update::win
