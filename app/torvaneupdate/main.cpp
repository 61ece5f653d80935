// torvaneupdate.exe: started by the calendar with "<version>###<mode>###". It
// says whether a newer version exists and, on request, downloads the
// installer, ends the suite and hands over to the installer. One copy at a
// time; without arguments it opens the promotional page and ends. This is
// where the program is put together.
#include <windows.h>

#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/settings_keys.h"
#include "common/win/background_work_win.h"
#include "common/win/bcrypt_verifier.h"
#include "common/win/platform_ports.h"
#include "common/win/single_instance.h"
#include "common/win/stale_temporaries.h"
#include "common/win/unique.h"
#include "common/win/wide_text.h"
#include "processes/win/process_ender.h"
#include "update/updater_model.h"
#include "update/updater_rules.h"
#include "update/win/file_download.h"
#include "update/win/script_starter.h"
#include "update/win/updater_window.h"

namespace {

using torvane::win::UniqueHandle;

constexpr wchar_t kInstanceMutex[] = L"Local\\Torvane.Updater";

// A transfer the window stopped waiting for may still run on its worker
// while the program ends: the engine it uses never goes away.
torvane::update::win::CFileDownload oDownload;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    using namespace torvane;
    UniqueHandle lock;
    if (!win::TakeInstanceLock(kInstanceMutex, lock)) return 0;
    // An updater ended during a download (halter, the calendar's exit item)
    // left its unfinished file.
    win::RemoveStaleTemporaries(Utf8ToWide(ProgramFolder()));

    IniSettings settings(SettingsPath());
    IniSettings versionFile(VersionFilePath());
    const std::string promotionalPage = update::PromotionalPage(LoadServerAddresses(settings).update);
    win::ShellOpener shell;
    win::ToolhelpProcessEnder processes;
    update::win::CommandScripts scripts;
    win::BcryptVerifier verifier(ReleasePublicKey().value_or(""));
    win::ProcessStarter starter;
    win::BackgroundWorkWin work;

    update::win::UpdaterWindow window(instance);
    if (!window.Create()) return 1;
    shell.SetOwner(window.hwnd());
    update::FrmUpdate model(
        update::UpdaterPorts{settings, versionFile, shell, processes, oDownload, work, scripts, window, verifier,
                             starter},
        update::UpdaterConfig{ProgramFolder(), promotionalPage, VersionFilePath()});
    window.Attach(model);
    const int exitCode = window.Run(WideToUtf8(commandLine ? commandLine : L""));
    oDownload.DiscardUnfinished();
    return exitCode;
}
