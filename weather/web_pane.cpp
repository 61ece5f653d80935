#include "weather/web_pane.h"

#include "common/ascii_case.h"
#include "common/settings_keys.h"

namespace torvane::weather {
namespace {

// Longer addresses crash some shells' handling of the "open" verb.
constexpr size_t kMaxShellAddress = 1000;

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string WebPanePage(std::string_view updateServer) { return ServerPage(updateServer, kWebPanePath); }

ui::Rect BrowserPlace(int innerWidth, int innerHeight) {
    return ui::Rect{-kBrowserOverhang, -kBrowserOverhang, innerWidth + 2 * kBrowserOverhang,
                    innerHeight + 2 * kBrowserOverhang};
}

bool OpensInUsersBrowser(std::string_view url) {
    if (url.size() > kMaxShellAddress) return false;
    if (!StartsWithFolded(url, "http://") && !StartsWithFolded(url, "https://")) return false;
    for (unsigned char c : url) {
        if (c <= ' ' || c == '"' || c == 0x7F) return false;
    }
    return true;
}

WebPane::WebPane(WebBrowser& browser, calendar::ComponentHost& host, std::string updateServer)
    : browser_(browser), host_(host), page_(WebPanePage(updateServer)) {}

calendar::ViewChanges WebPane::OnEvent(calendar::WindowEvent event) {
    if (event != calendar::WindowEvent::ListsFilled || opened_) return {};
    opened_ = true;
    host_.Apply({{calendar::Ctl::adbox, {}, true, {}}});
    browser_.Navigate(page_);
    return {};
}

}  // namespace torvane::weather
