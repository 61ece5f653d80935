#include "calendar/tray.h"

#include <algorithm>

#include "common/text_codec.h"

namespace torvane::calendar {

std::string CutToAnsiField(std::string_view utf8, size_t fieldBytes) {
    if (fieldBytes == 0) return {};
    const size_t budget = fieldBytes - 1;  // room for the NUL
    size_t used = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        if (lead == 0) break;  // the field ends at the first NUL anyway
        // A malformed byte is a character of its own, as every conversion reads it;
        // taking the bytes after it along could split the character they start.
        const size_t length = std::max<size_t>(1, Utf8SequenceLength(utf8.substr(pos)));
        const size_t ansiBytes = lead < 0x80 ? 1 : 2;
        if (used + ansiBytes > budget) break;
        used += ansiBytes;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}

void TrayIcon::AddTrayIcon(std::string_view tip) {
    TrayIconData data;
    data.tip = CutToAnsiField(tip, kTrayTipBytes);
    AddOrModify(std::move(data));
}

void TrayIcon::ShowTrayBalloon(std::string_view title, std::string_view text,
                               uint32_t iconKind, uint32_t timeoutMs) {
    TrayIconData data;
    data.tip = CutToAnsiField(title, kTrayTipBytes);
    data.infoTitle = CutToAnsiField(title, kTrayInfoTitleBytes);
    data.info = CutToAnsiField(text, kTrayInfoBytes);
    data.infoFlags = iconKind;
    data.timeoutMs = timeoutMs;
    AddOrModify(std::move(data));
}

void TrayIcon::AddOrModify(TrayIconData data) {
    current_ = std::move(data);
    if (present_) {
        tray_.Modify(current_);
    } else {
        tray_.Add(current_);
        present_ = true;
    }
}

void TrayIcon::RemoveTrayIcon() {
    if (!present_) return;
    tray_.Remove();
    present_ = false;
}

void TrayIcon::OnTaskbarCreated() {
    if (present_) tray_.Add(current_);
}

TrayReaction TrayReactionTo(uint32_t event) {
    switch (event) {
        case kTrayLeftButtonUp: return TrayReaction::ToggleWindow;
        case kTrayRightButtonUp:
        case kTrayBalloonClick: return TrayReaction::PopupMenu;
        default: return TrayReaction::None;
    }
}

}  // namespace torvane::calendar
