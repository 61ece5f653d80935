// torvane.exe: with an empty command line it opens the product home page and
// ends; with any argument (the launcher passes "qidong") it shows the
// calendar. This is where the program is put together: the settings, the
// ports, the features and the window.
#include <windows.h>

#include <mutex>
#include <optional>
#include <set>

#include "calendar/deferred_tray.h"
#include "calendar/main_window_model.h"
#include "calendar/startup.h"
#include "calendar/win/main_window.h"
#include "calendar/win/platform_ports.h"
#include "calendar/win/resource_ids.h"
#include "weather/win/web_pane_window.h"
#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/program_names.h"
#include "common/release_signature.h"
#include "common/settings_keys.h"
#include "common/win/background_work_win.h"
#include "common/win/bcrypt_verifier.h"
#include "common/win/http_get_win.h"
#include "common/win/platform_ports.h"
#include "common/win/stale_temporaries.h"
#include "common/win/wide_text.h"
#include "controls/win/combo_window.h"
#include "holidays/days_off_component.h"
#include "processes/win/process_ender.h"
#include "settings/settings_button.h"
#include "settings/win/settings_dialog.h"
#include "update/check/version_check.h"
#include "update/win/download_file.h"
#include "weather/pickers.h"
#include "weather/weather_component.h"
#include "weather/web_pane.h"

namespace {

std::string ExePath() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return torvane::WideToUtf8(std::wstring_view(path, n < std::size(path) ? n : 0));
}

// Files of the update server (version.ini, holidays.txt) through the WinINet
// engine, on a worker.
class EngineDownloader final : public torvane::update::VersionDownloader {
public:
    // The version file and the days-off file are a few kilobytes.
    static constexpr int64_t kUnannouncedLimit = 1 << 20;

    bool Download(const std::string& url, const std::string& target) override {
        torvane::update::win::ZeqDownLoadFile engine;
        // Both files are signed, so a CDN's chunked answer can be taken.
        engine.unannouncedLimit = kUnannouncedLimit;
        {
            const std::lock_guard lock(mutex_);
            running_.insert(&engine);
        }
        const bool done = engine.DownLoadFile(url, target, false, false);
        const std::lock_guard lock(mutex_);
        running_.erase(&engine);
        return done;
    }
    void Abort() override {
        const std::lock_guard lock(mutex_);
        for (torvane::update::win::ZeqDownLoadFile* engine : running_) engine->Abort();
    }

private:
    std::mutex mutex_;
    std::set<torvane::update::win::ZeqDownLoadFile*> running_;
};

class MessageBoxPrompt final : public torvane::update::Prompt {
public:
    explicit MessageBoxPrompt(HWND owner) : owner_(owner) {}
    bool AskYesNo(std::string_view title, std::string_view text) override {
        return MessageBoxW(owner_, torvane::Utf8ToWide(text).c_str(), torvane::Utf8ToWide(title).c_str(),
                           MB_YESNO | MB_ICONINFORMATION) == IDYES;
    }

private:
    HWND owner_;
};

// The main window as the settings dialog sees it: the model's texts and
// place, and the monitor the window is on.
class FrmMainLink final : public torvane::settings::MainWindowLink {
public:
    FrmMainLink(torvane::calendar::FrmMain& model, HWND window) : model_(model), window_(window) {}

    torvane::settings::MainWindowTexts Texts() override {
        using torvane::calendar::Ctl;
        const auto text = [this](Ctl id) { return model_.element(id).text; };
        return {text(Ctl::Label12), text(Ctl::Label8), text(Ctl::Label9),
                text(Ctl::Label13), text(Ctl::Label1), text(Ctl::Label4)};
    }

    torvane::settings::MainWindowPlace Place() override {
        const torvane::calendar::WindowRect r = model_.windowRect();
        torvane::settings::MainWindowPlace place{{r.left, r.top, r.width, r.height}, model_.dpi().value(), {}};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& w = monitor.rcWork;
            place.workAreaPx = {w.left, w.top, w.right - w.left, w.bottom - w.top};
        } else {
            place.workAreaPx = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        }
        return place;
    }

    // The main window's loop brings its view in line with the model after
    // every message of the thread, this click's included.
    void ReloadDisplaySwitches() override { model_.ReloadDisplaySwitches(); }

private:
    torvane::calendar::FrmMain& model_;
    HWND window_;
};

// What the features are made from.
struct Base {
    HINSTANCE instance;
    torvane::IniSettings& settings;
    const torvane::ServerAddresses& servers;
    torvane::win::ShellOpener& shell;
    torvane::Clock& clock;
    torvane::calendar::DeferredTray& tray;
    torvane::calendar::win::MainWindow& window;
    torvane::calendar::FrmMain& model;
};

// The model in its window; what the window's first paint does without
// waits until it is shown.
int ShowWindowWith(const Base& b, torvane::weather::Pickers& pickers, torvane::weather::win::WebPaneWindow& webPane) {
    using namespace torvane;
    b.window.Attach(b.model);
    b.window.Host(calendar::Ctl::adbox, webPane.hwnd());
    std::optional<controls::win::ComboWindow> text2, combo3;
    b.window.AfterShown([&] {
        b.tray.Release();
        text2.emplace(b.instance, b.window.hwnd(), calendar::win::ControlId(calendar::Ctl::text2), pickers.text2());
        combo3.emplace(b.instance, b.window.hwnd(), calendar::win::ControlId(calendar::Ctl::Combo3),
                       pickers.Combo3());
        b.window.Host(calendar::Ctl::text2, text2->hwnd());
        b.window.Host(calendar::Ctl::Combo3, combo3->hwnd());
    });
    return b.window.Run();
}

// The features that read the update server's signed files, then the window.
int RunWithServerFeatures(const Base& b, torvane::BackgroundWork& background, torvane::weather::Pickers& pickers,
                          torvane::weather::win::WebPaneWindow& webPane) {
    using namespace torvane;
    // The days off: the newer of the built-in copy and the file beside the
    // programs now, the update server's copy once the version file's
    // download has ended (one download from the server at a time).
    auto downloader = std::make_shared<EngineDownloader>();
    auto verifier = std::make_shared<win::BcryptVerifier>(ReleasePublicKey().value_or(""));
    const std::string daysOffPath = ProgramFilePath(kDaysOffFileName);
    holidays::DaysOffComponent daysOff(
        holidays::DaysOffPorts{background,
                               [downloader](const std::string& url, const std::string& target) {
                                   return downloader->Download(url, target);
                               },
                               verifier,
                               [&b](holidays::DaysOffData data) { b.model.SetDaysOff(std::move(data)); }},
        holidays::DaysOffConfig{b.servers.update, daysOffPath, ProgramFilePath(holidays::kDaysOffDownloadName)},
        holidays::LoadDaysOff(calendar::win::ResourceBytes(kDaysOffText).value_or(""), daysOffPath));
    b.model.SetDaysOff(daysOff.current());
    b.model.AddComponent(daysOff);
    win::ProcessStarter starter;
    MessageBoxPrompt prompt(b.window.hwnd());
    update::VersionCheck versionCheck(
        // A downloader of its own: a check given up aborts only its own transfer.
        update::VersionCheckPorts{background, std::make_shared<EngineDownloader>(), verifier, b.settings, starter,
                                  prompt, b.model},
        update::VersionCheckConfig{b.servers.update, VersionFilePath(), ProgramFilePath(update::kVersionDownloadName),
                                   ProgramFilePath(kUpdaterExe), ProgramFilePath("update.exe"),
                                   [&daysOff] { daysOff.Start(); }});
    b.model.AddComponent(versionCheck);
    return ShowWindowWith(b, pickers, webPane);
}

// The window's features, in the order they hear its events, then the window
// until the program ends.
int RunWithFeatures(const Base& b) {
    using namespace torvane;
    // Fetches run on workers; results come back through the window's messages.
    // Those start-up asks for wait until the window is shown, and so does the
    // sweep of what a calendar ended mid-download left behind.
    win::BackgroundWorkWin background;
    background.Hold();
    b.window.AfterShown([&b, &background] {
        b.settings.EndSnapshot();
        win::RemoveStaleTemporaries(Utf8ToWide(ProgramFolder()));
        background.Release();
    });
    weather::WeatherComponent weather(
        weather::WeatherPorts{background, std::make_shared<win::WinInetGet>(), b.settings, b.model},
        weather::WeatherConfig{b.servers.location, b.servers.weather, ProgramFilePath("pic") + "\\"});
    b.model.AddComponent(weather);
    weather::Pickers pickers(weather);
    b.model.AddComponent(pickers);
    // The pane's browser is made at T1's tick, when it first navigates.
    weather::win::WebPaneWindow webPane(b.instance, b.window.hwnd(),
                                        calendar::win::ControlId(calendar::Ctl::adbox), b.shell);
    weather::WebPane webPaneFeature(webPane, b.model, b.servers.update);
    b.model.AddComponent(webPaneFeature);
    FrmMainLink mainLink(b.model, b.window.hwnd());
    settings::win::SettingsDialog settingsDialog(b.instance, b.window.MovePointer(), b.settings, b.shell, b.clock,
                                                 mainLink, {b.servers.home});
    settings::SettingsButton settingsButton(settingsDialog);
    b.model.AddComponent(settingsButton);
    return RunWithServerFeatures(b, background, pickers, webPane);
}

int ShowCalendar(HINSTANCE instance, torvane::IniSettings& settings, const torvane::ServerAddresses& servers,
                 torvane::win::ShellOpener& shell) {
    using namespace torvane;
    win::LocalClock clock;
    win::RunKeyAutostart autostart;
    win::ToolhelpProcessEnder processes;
    calendar::win::NotifyIconTray shellTray;
    // The icon appears once the window is shown (ShowWindowWith).
    calendar::DeferredTray tray(shellTray);
    calendar::win::ResourceTexts texts;

    calendar::win::MainWindow window(instance);
    if (!window.Create()) return 1;
    shell.SetOwner(window.hwnd());
    shellTray.Attach(window.hwnd(), window.SmallIcon());

    calendar::FrmMain model(
        calendar::FrmMainPorts{clock, settings, shell, autostart, tray, processes, window, texts},
        calendar::FrmMainConfig{servers.home, ExePath()});
    return RunWithFeatures(Base{instance, settings, servers, shell, clock, tray, window, model});
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    torvane::IniSettings settings(torvane::SettingsPath());
    // Start-up reads its settings from one reading of the file (until shown).
    settings.BeginSnapshot();
    const torvane::ServerAddresses servers = torvane::LoadServerAddresses(settings);
    torvane::win::ShellOpener shell;
    if (!torvane::calendar::RunMain(torvane::WideToUtf8(commandLine ? commandLine : L""), shell, servers.home))
        return 0;
    return ShowCalendar(instance, settings, servers, shell);
}
