// The web pane adbox on Win32: a child window holding the system's embedded
// web browser through a small OLE container of our own (client site,
// in-place site, frame, and a sink for the browser's events). The browser is
// made at the first Navigate, not at start-up: loading OLE and the browser
// costs time the calendar's first showing must not pay. It is silent from
// the first page on, so no script error ever raises a dialog; a page's
// request for a new window goes to the user's own browser through the shell.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/ports.h"
#include "ui/win/window.h"
#include "weather/web_pane.h"

namespace torvane::weather::win {

inline constexpr wchar_t kWebPaneClass[] = L"TorvaneWebPane";

class WebPaneWindow final : public ui::win::Window, public weather::WebBrowser {
public:
    // A hidden child of `parent`; pages asking for a new window go to `shell`.
    WebPaneWindow(HINSTANCE instance, HWND parent, int controlId, Shell& shell);
    ~WebPaneWindow() override;

    void Navigate(const std::string& url) override;

    class Site;

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool CreateBrowser();
    void PlaceBrowser();
    void ReleaseBrowser();

    Shell& shell_;
    struct Browser;
    std::unique_ptr<Browser> browser_;
    bool failed_ = false;  // the system has no browser to embed: the pane stays blank
};

}  // namespace torvane::weather::win
