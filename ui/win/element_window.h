// The view every window of elements stands on: a model's ElementSet shown
// through an element mirror and painted from a back buffer. It does once
// what every such window needs: creation with its icon, the dispatch of a
// message to the model and the sync of what the model says changed, the
// mouse, the DPI change, timers, the move loop, the window's place and the
// move pointer. A window writes only what is its own.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "common/win/unique.h"
#include "ui/win/element_mirror.h"
#include "ui/win/font_cache.h"
#include "ui/win/painter.h"
#include "ui/win/window.h"

namespace torvane::ui::win {

// Child control ids: kFirstElementId + the element's index.
inline constexpr int kFirstElementId = 1000;

struct ElementWindowDesign {
    WindowClass windowClass;   // its icons come from `iconId`
    DWORD exStyle = 0;
    DWORD style = WS_POPUP;
    const wchar_t* title = L"";
    int iconId = 0;            // the program's icon resource; 0: none
    int movePointerId = 0;     // the move pointer's cursor resource; 0: none of its own
    bool endsProgram = false;  // destroying it ends the message loop
    bool allButtons = false;   // the right and middle buttons reach the model too
};

class ElementWindow : public Window {
public:
    HICON SmallIcon() const { return smallIcon_.get(); }
    HCURSOR MovePointer() const { return movePointer_; }

    enum class Button { Left, Right, Middle };

protected:
    struct Mouse {
        MouseEvent::Kind kind;
        int x, y;
        Button button;
    };

    explicit ElementWindow(HINSTANCE instance) : instance_(instance) {}
    // Hands a mouse event to a model's onMouseMove/Leave/Up/Down, with
    // `button` after the place where the model takes one.
    template <class Model, class... ButtonArg>
    static void ForwardMouse(Model& model, const Mouse& e, ButtonArg... button) {
        switch (e.kind) {
            case MouseEvent::Move: model.onMouseMove(e.x, e.y); break;
            case MouseEvent::Leave: model.onMouseLeave(); break;
            case MouseEvent::Up: model.onMouseUp(e.x, e.y, button...); break;
            case MouseEvent::Down: model.onMouseDown(e.x, e.y, button...); break;
        }
    }
    // The window, hidden, with its fonts at its DPI.
    bool Create(const ElementWindowDesign& design);
    // The model's elements; their child windows are made now or, with
    // `childrenNow` false, by CreateChildren once the window is shown.
    void AttachElements(const ElementSet& elements, bool childrenNow);
    void CreateChildren();
    // Changes reach the children and the screen from now on.
    void StartSyncing() { syncing_ = true; }
    // Brings the children and the screen in line with what changed.
    void Sync();

    // What the window's own model answers.
    virtual ElementSet::Changes TakeChanges() = 0;
    virtual Dpi dpi() const { return dpi_; }
    virtual void OnMouse(const Mouse& mouse) = 0;
    virtual void OnDpi(int dpi, const Rect& suggestedPx) = 0;
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnClose() = 0;
    virtual bool WantsMovePointer() const { return false; }
    // Painting: a surface's draw list, the pictures and a draw list's bitmaps.
    virtual const DrawList* Surface(uint16_t) { return nullptr; }
    virtual PictureCache* Pictures() { return nullptr; }
    virtual BitmapSource Bitmaps() { return {}; }
    // After the children took the changes (lists the mirror does not fill).
    virtual void AfterSync(const ElementSet::Changes&) {}
    // Every message the element window leaves to the window.
    virtual LRESULT OnOther(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

    // For the model's host.
    void ApplyPlace(const Rect& twips);
    // The window's place in twips after the system's move loop; none when it
    // did not move (twips do not survive a trip through whole pixels).
    std::optional<Rect> MoveLoop();
    Rect PlacePx() const;
    void ShowInFront(bool raise);
    void Hide() { ShowWindow(hwnd(), SW_HIDE); }
    void StartTimer(UINT_PTR id, int intervalMs);
    void StopTimer(UINT_PTR id) { KillTimer(hwnd(), id); }
    void ShowMovePointer(bool on);
    void UseMovePointer(HCURSOR pointer) { movePointer_ = pointer; }

    HINSTANCE instance() const { return instance_; }
    Dpi windowDpi() const { return dpi_; }
    FontCache& fonts() { return fonts_; }
    ElementMirror& mirror() { return *mirror_; }
    bool attached() const { return elements_ != nullptr; }

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) final;
    LRESULT Route(UINT msg, WPARAM wp, LPARAM lp);
    void Paint();
    void OnDpiChanged(WPARAM wp, LPARAM lp);
    bool OnSetCursor(LPARAM lp);

    HINSTANCE instance_;
    Dpi dpi_;
    bool endsProgram_ = false;
    bool allButtons_ = false;
    bool syncing_ = false;
    torvane::win::UniqueIcon icon_;
    torvane::win::UniqueIcon smallIcon_;
    HCURSOR movePointer_ = nullptr;  // a shared resource: never destroyed
    FontCache fonts_{Dpi()};
    BackBuffer buffer_;
    std::unique_ptr<ElementMirror> mirror_;
    const ElementSet* elements_ = nullptr;
};

}  // namespace torvane::ui::win
