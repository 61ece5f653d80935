// torvane.exe: with an empty command line it opens the product home page and
// ends; with any argument (the launcher passes "qidong") it shows the
// calendar. This is where the program is put together: the settings, the
// ports, the features and the window.
#include <windows.h>

#include <mutex>
#include <set>

#include "calendar/frm_main.h"
#include "calendar/startup.h"
#include "calendar/win/main_window.h"
#include "calendar/win/platform_ports.h"
#include "calendar/win/resource_ids.h"
#include "calendar/win/web_pane.h"
#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/program_names.h"
#include "common/release_signature.h"
#include "common/settings_keys.h"
#include "common/win/background_work_win.h"
#include "common/win/bcrypt_verifier.h"
#include "common/win/gdiplus.h"
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

int ShowCalendar(HINSTANCE instance, torvane::IniSettings& settings, const torvane::ServerAddresses& servers,
                 torvane::win::ShellOpener& shell) {
    using namespace torvane;
    win::LocalClock clock;
    win::RunKeyAutostart autostart;
    win::ToolhelpProcessEnder processes;
    calendar::win::NotifyIconTray tray;
    calendar::win::ResourceTexts texts;

    calendar::win::MainWindow window(instance);
    if (!window.Create()) return 1;
    shell.SetOwner(window.hwnd());
    tray.Attach(window.hwnd(), window.SmallIcon());

    calendar::FrmMain model(
        calendar::FrmMainPorts{clock, settings, shell, autostart, tray, processes, window, texts},
        calendar::FrmMainConfig{servers.home, ExePath()});
    // Fetches run on workers; results come back through the window's messages.
    win::BackgroundWorkWin background;

    // The window's features, in the order they hear its events.
    weather::WeatherComponent weather(
        weather::WeatherPorts{background, std::make_shared<win::WinInetGet>(), settings, model},
        weather::WeatherConfig{servers.location, servers.weather, ProgramFilePath("pic") + "\\"});
    model.AddComponent(weather);
    weather::Pickers pickers(weather);
    model.AddComponent(pickers);
    // The pane's browser is made at T1's tick, when it first navigates.
    calendar::win::WebPaneWindow webPane(instance, window.hwnd(), calendar::win::ControlId(calendar::Ctl::adbox),
                                         shell);
    weather::WebPane webPaneFeature(webPane, model, servers.update);
    model.AddComponent(webPaneFeature);
    settings::win::FrmMainLink mainLink(model, window.hwnd());
    settings::win::SettingsDialog settingsDialog(instance, settings, shell, clock, mainLink, {servers.home});
    settings::SettingsButton settingsButton(settingsDialog);
    model.AddComponent(settingsButton);
    // The days off: the newer of the built-in copy and the file beside the
    // programs now, the update server's copy once the version file's
    // download has ended (one download from the server at a time).
    auto downloader = std::make_shared<EngineDownloader>();
    auto verifier = std::make_shared<win::BcryptVerifier>(ReleasePublicKey().value_or(""));
    const std::string daysOffPath = ProgramFilePath(calendar::kDaysOffFileName);
    holidays::DaysOffComponent daysOff(
        holidays::DaysOffPorts{background,
                               [downloader](const std::string& url, const std::string& target) {
                                   return downloader->Download(url, target);
                               },
                               verifier,
                               [&model](holidays::DaysOffData data) { model.SetDaysOff(std::move(data)); }},
        holidays::DaysOffConfig{servers.update, daysOffPath, ProgramFilePath(holidays::kDaysOffDownloadName)},
        holidays::LoadDaysOff(calendar::win::ResourceBytes(kDaysOffText).value_or(""), daysOffPath));
    model.SetDaysOff(daysOff.current());
    model.AddComponent(daysOff);
    win::ProcessStarter starter;
    MessageBoxPrompt prompt(window.hwnd());
    update::VersionCheck versionCheck(
        // A downloader of its own: a check given up aborts only its own transfer.
        update::VersionCheckPorts{background, std::make_shared<EngineDownloader>(), verifier, settings, starter,
                                  prompt, model},
        update::VersionCheckConfig{servers.update, VersionFilePath(), ProgramFilePath(update::kVersionDownloadName),
                                   ProgramFilePath(kUpdaterExe),
                                   ProgramFilePath("update.exe"), [&daysOff] { daysOff.Start(); }});
    model.AddComponent(versionCheck);
    window.Attach(model);
    controls::win::ComboWindow text2(instance, window.hwnd(), calendar::win::ControlId(calendar::Ctl::text2),
                                     pickers.text2());
    controls::win::ComboWindow combo3(instance, window.hwnd(), calendar::win::ControlId(calendar::Ctl::Combo3),
                                      pickers.Combo3());
    window.Host(calendar::Ctl::text2, text2.hwnd());
    window.Host(calendar::Ctl::Combo3, combo3.hwnd());
    window.Host(calendar::Ctl::adbox, webPane.hwnd());
    return window.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    torvane::IniSettings settings(torvane::SettingsPath());
    const torvane::ServerAddresses servers = torvane::LoadServerAddresses(settings);
    torvane::win::ShellOpener shell;
    if (!torvane::calendar::RunMain(torvane::WideToUtf8(commandLine ? commandLine : L""), shell, servers.home))
        return 0;

    // A calendar ended during a download or a write left its unfinished file.
    torvane::win::RemoveStaleTemporaries(torvane::Utf8ToWide(torvane::ProgramFolder()));
    torvane::win::GdiplusSession gdiplus;
    return ShowCalendar(instance, settings, servers, shell);
}
