// The window "Torvane.Combo": a view of one Combo model. An edit box is the
// text area, the button and the border are painted, and the open list is a
// popup that never takes the focus, so the keys stay in the text area. It
// turns what the user does into model calls and shows what the model says.
//
// Keys: Alt+Down, Alt+Up or F4 open and close the list; Up and Down move
// through it (or, closed, select the next entry); Enter takes the pointed
// entry, Esc closes. The wheel scrolls the open list. Losing the focus closes it.
//
// For screen readers and tests it answers WM_GETTEXT with the text and the
// list messages CB_GETCOUNT, CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT,
// CB_GETDROPPEDSTATE, CB_SETCURSEL and CB_SHOWDROPDOWN.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "common/win/unique.h"
#include "controls/combo.h"
#include "ui/win/font_cache.h"
#include "ui/win/window.h"

namespace torvane::controls::win {

inline constexpr wchar_t kComboClass[] = L"Torvane.Combo";
inline constexpr wchar_t kComboListClass[] = L"Torvane.ComboList";

class ComboList;

class ComboWindow final : public ui::win::Window {
public:
    // A hidden child of `parent` with the control id `controlId`.
    ComboWindow(HINSTANCE instance, HWND parent, int controlId, Combo& model);
    ~ComboWindow() override;

    HWND edit() const { return edit_; }
    Combo& model() { return model_; }
    ui::Dpi dpi() const { return fonts_.dpi(); }
    HFONT font();

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT OnListMessage(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT CallEdit(UINT msg, WPARAM wp, LPARAM lp);
    void OnSize();
    void OnMouse(UINT msg, WPARAM wp, LPARAM lp);
    void Paint();
    LRESULT ControlColor(HDC dc);
    // Brings the windows in line with the model.
    void Sync();
    void SyncEdit();
    void SyncTip();
    void ReportSelection();
    RECT Px(const Rect& twips) const;
    MouseArgs Args(WPARAM wp, LPARAM lp, POINT offset) const;

    HINSTANCE instance_;
    Combo& model_;
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    std::unique_ptr<ComboList> list_;
    ui::win::FontCache fonts_{ui::Dpi()};
    HFONT editFont_ = nullptr;
    torvane::win::UniqueBrush backBrush_;
    Rgb brushColor_{};
    std::array<torvane::win::UniqueBitmap, 4> pictures_;
    HMODULE commonControls_ = nullptr;
    HWND tooltip_ = nullptr;
    bool syncing_ = false;
    bool swallowChar_ = false;
    bool textPressed_ = false;
    bool trackingLeave_ = false;
};

}  // namespace torvane::controls::win
