// The updater's window as a model: every rule of its load, its buttons, the
// download's progress and the hand-over to the installer, with the outside
// world behind ports. The Win32 view forwards messages to the on...()
// methods and paints elements() and the bar's drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/background_work.h"
#include "common/ports.h"
#include "common/release_signature.h"
#include "common/settings.h"
#include "common/settings_keys.h"
#include "ui/element.h"
#include "ui/press.h"
#include "update/ports.h"
#include "update/progress_bar.h"

namespace torvane::update {

using ui::Element;
using ui::ElementSet;
using ui::Rect;

// Every element of the window, in painting order (back to front).
enum class Ctl : uint16_t {
    Image1, Line1, Line2, Line3, Line4, Title,
    Label1, Label4, Message,
    s, Label3, Label2,
    Image8, I1,
    down, downname,
    Count
};
inline constexpr size_t kElementCount = static_cast<size_t>(Ctl::Count);
constexpr size_t Index(Ctl id) { return static_cast<size_t>(id); }

// The client area as designed, in twips: 400 x 100 pixels at 96 DPI.
inline constexpr int kWindowWidth = 6000;
inline constexpr int kWindowHeight = 1500;
inline constexpr std::string_view kWindowCaption = "在线升级";

// After "取消" the transfer stops at its next progress report; a server that
// sends nothing more is not waited for longer than this.
inline constexpr int kCancelGraceMs = 3000;

// The texts of the updater's own refusals, one line each.
inline constexpr std::string_view kInvalidUpdateText = "升级信息无效，未下载任何文件";
inline constexpr std::string_view kMismatchText = "安装程序校验不符，已删除下载的文件";
inline constexpr std::string_view kNotStartedText = "无法启动安装程序，升级未完成";

struct UpdaterPorts {
    Settings& settings;     // set.ini
    Settings& versionFile;  // version.ini
    Shell& shell;
    ProcessEnder& processes;
    FileDownloader& oDownload;
    BackgroundWork& work;
    ScriptStarter& scripts;
    UpdaterHost& host;
    SignatureVerifier& verifier;  // the release key's
    ProgramStarter& starter;      // brings the calendar back after a failed hand-over
};

struct UpdaterConfig {
    std::string programFolder;    // without a trailing separator
    std::string promotionalPage;  // opened when started without arguments
    std::string versionFilePath;  // version.ini, checked again before anything runs
};

class FrmUpdate {
public:
    FrmUpdate(const UpdaterPorts& ports, UpdaterConfig config);
    ~FrmUpdate();
    FrmUpdate(const FrmUpdate&) = delete;
    FrmUpdate& operator=(const FrmUpdate&) = delete;

    // Form_Load with the argument text (without the program path). False when
    // the program ends at once: no argument, the promotional page opened.
    bool FormLoad(std::string_view arguments);

    // --- Events the view forwards (device pixels of the client) ------------
    void onFormResize(int widthTwips, int heightTwips, bool minimized);
    void onDpiChanged(int dpi);
    void onMouseDown(int x, int y);
    void onMouseUp(int x, int y);
    void onMouseMove(int x, int y);
    void onMouseLeave();
    void onTimer(UpdaterTimer id);
    // The window is asked to close (Alt+F4).
    void Unload();

    // --- Handlers by control -------------------------------------------------
    void onImage8Click();  // upgrade
    void onI1Click();      // close
    void onLabel2Click();  // "取消"
    void oDownload_OnProgress(const DownloadProgress& progress);

    // --- What the view shows ---------------------------------------------------
    const ElementSet& elements() const { return elements_; }
    const Element& element(Ctl id) const { return elements_[Index(id)]; }
    ElementSet::Changes TakeChanges() { return elements_.TakeChanges(); }
    const ui::DrawList& barDrawing() const { return s_.drawing(); }
    const ProgressBar& bar() const { return s_; }
    ui::Dpi dpi() const { return dpi_; }
    bool UpgradeEnabled() const { return upgradeEnabled_; }
    bool Downloading() const { return stage_ == Stage::Downloading || stage_ == Stage::Cancelling; }

private:
    enum class Stage : uint8_t { Idle, Downloading, Cancelling, HandedOver };

    std::optional<Ctl> ElementAt(int x, int y) const;
    void Click(Ctl id);
    void StartDownload();
    void OnDownloadDone(DownloadOutcome outcome);
    // The release version.ini offers, when the release key signed it, it names
    // a safe installer with its SHA-256 and it is newer than the one installed.
    std::optional<VersionFileEntries> TrustedRelease() const;
    void HandOverFailed();
    void Cancel(bool thenEndProcess);
    void FinishCancel();
    void HandOver();
    void ShowMessage(std::string_view text);
    void ShowTransfer(bool shown);
    void PlaceBar();
    void SetText(Ctl id, std::string text) { elements_.SetText(Index(id), std::move(text)); }
    void Show(Ctl id, bool visible) { elements_.SetVisible(Index(id), visible); }

    UpdaterPorts ports_;
    UpdaterConfig config_;
    ElementSet elements_;
    ProgressBar s_;
    ui::Dpi dpi_;
    std::string newVersion_;
    std::string sha256_;  // as the signed version file gives it
    bool upgradeEnabled_ = true;
    Stage stage_ = Stage::Idle;
    bool endAfterCancel_ = false;
    JobId job_ = kNoJob;
    ui::PressModel presses_;
};

}  // namespace torvane::update
