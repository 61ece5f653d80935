// The web pane adbox of the day panel: T1's tick shows it and lets the
// embedded browser load the update server's page "/tg/". The browser itself
// is a port; the Win32 one is an OLE container in calendar/win/.
#pragma once

#include <string>
#include <string_view>

#include "calendar/component.h"
#include "ui/geometry.h"

namespace torvane::weather {

class WebBrowser {
public:
    virtual ~WebBrowser() = default;
    virtual void Navigate(const std::string& url) = 0;
};

inline constexpr std::string_view kWebPanePath = "/tg/";
// How far the browser reaches past each edge of the pane, in pixels, so its
// own border lies outside what the pane shows.
inline constexpr int kBrowserOverhang = 4;

// The update server's address joined with "/tg/".
std::string WebPanePage(std::string_view updateServer);

// The browser's rectangle in a pane of this inner size (pixels).
ui::Rect BrowserPlace(int innerWidth, int innerHeight);

// Whether a page's request for a new window may be handed to the user's own
// browser through the shell: a plain web address only, never a local file,
// a program or an address the shell would split into arguments.
bool OpensInUsersBrowser(std::string_view url);

class WebPane final : public calendar::Component {
public:
    WebPane(WebBrowser& browser, calendar::ComponentHost& host, std::string updateServer);

    calendar::ViewChanges OnEvent(calendar::WindowEvent event) override;
    bool Opened() const { return opened_; }

private:
    WebBrowser& browser_;
    calendar::ComponentHost& host_;
    std::string page_;
    bool opened_ = false;
};

}  // namespace torvane::weather
