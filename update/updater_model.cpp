#include "update/updater_model.h"

#include <array>
#include <vector>

#include "common/file_io.h"
#include "common/program_names.h"
#include "common/settings_keys.h"
#include "common/text_codec.h"
#include "common/version_file.h"
#include "update/file_names.h"
#include "ui/palette.h"
#include "update/updater_rules.h"
#include "update/version_order.h"

namespace torvane::update {

namespace {

using ui::ElementKind;
using ui::Glyph;
using ui::Rgb;
using ui::Style;
using ui::Tw;
using K = ElementKind;

// --- Look (our own, but for the frame's grey) -----------------------------
namespace palette = ui::palette;
constexpr Rgb kSkin = palette::kSkin;
constexpr Rgb kSkinTint = palette::kSkinTint;
constexpr Rgb kFrame{192, 192, 192};
constexpr Rgb kText = palette::kTextPrimary;
constexpr Rgb kAccent = palette::kAccent;
constexpr Rgb kAccentHover = palette::kAccentHover;
constexpr Rgb kGlyph = palette::kGlyph;
constexpr Rgb kCloseHover = palette::kAlert;
constexpr Rgb kWarning = palette::kAlert;
constexpr Rgb kWhite{255, 255, 255};
constexpr int kTextCentiPt = 900;
constexpr int kTitleCentiPt = 1050;
// "100.00%" fits beside the bar.
constexpr int kPercentCentiPt = 800;

constexpr Style Plain(Rgb color, int font = kTextCentiPt, bool bold = false) {
    return Style{color, color, kSkin, false, font, bold, Glyph::None, 0};
}
constexpr Style kBackground{kText, kSkinTint, kSkin, true, kTextCentiPt, false, Glyph::None, Tw(40)};
constexpr Style kLine{kFrame, kFrame, kFrame, true};
constexpr Style kUpgrade{kAccent, kAccentHover, kWhite, false, kTextCentiPt, true, Glyph::Pill, 0};
constexpr Style kClose{kGlyph, kCloseHover, kSkin, false, kTextCentiPt, false, Glyph::Close, 0};
constexpr Style kBar{kText, kText, kSkin, false};

constexpr uint8_t kNone = ui::kNoTrait;
constexpr uint8_t kDrag = ui::kDragsWindow;
constexpr uint8_t kClick = ui::kClickable;

constexpr int kLine1 = Tw(1);
constexpr std::array<ui::ElementDesign<Ctl>, kElementCount> kDesign = {{
    {Ctl::Image1, "Image1", K::Skin, {0, 0, kWindowWidth, kWindowHeight}, kBackground, kDrag, {}},
    {Ctl::Line1, "Line1", K::FrameLine, {0, 0, kWindowWidth, kLine1}, kLine, kNone, {}},
    {Ctl::Line2, "Line2", K::FrameLine, {0, 0, kLine1, kWindowHeight}, kLine, kNone, {}},
    {Ctl::Line3, "Line3", K::FrameLine, {kWindowWidth - kLine1, 0, kLine1, kWindowHeight}, kLine, kNone, {}},
    {Ctl::Line4, "Line4", K::FrameLine, {0, kWindowHeight - kLine1, kWindowWidth, kLine1}, kLine, kNone, {}},
    {Ctl::Title, "Title", K::Label, {Tw(8), Tw(6), Tw(160), Tw(20)}, Plain(kAccent, kTitleCentiPt, true), kDrag,
     kWindowCaption},
    {Ctl::Label1, "Label1", K::Label, {120, 1080, 3855, 255}, Plain(kText), kDrag, {}},
    {Ctl::Label4, "Label4", K::Label, {120, 1080, 4335, 255}, Plain(kText), kDrag, {}},
    {Ctl::Message, "Message", K::Label, {120, 1080, 5760, 255}, Plain(kWarning), kDrag, {}},
    {Ctl::s, "s", K::Surface, {120, 600, 3135, 255}, kBar, kNone, {}},
    {Ctl::Label3, "Label3", K::Label, {3300, 600, 640, 255}, Plain(kText, kPercentCentiPt), kNone, {}},
    {Ctl::Label2, "Label2", K::Label, {5520, 840, 495, 255}, Plain(kAccent), kClick, "取消"},
    {Ctl::Image8, "Image8", K::Button, {3960, 480, 1500, 480}, kUpgrade, kClick, "立即升级"},
    {Ctl::I1, "I1", K::Button, {5640, 120, 135, 135}, kClose, kClick, {}},
    {Ctl::down, "down", K::Label, {120, 1200, 3000, 255}, Plain(kText), kNone, "下载地址"},
    {Ctl::downname, "downname", K::Label, {120, 1200, 3000, 255}, Plain(kText), kNone, "保存名称"},
}};

static_assert(ui::DesignInOrder(kDesign), "element table must follow the order of Ctl");

// The elements as designed; what the window shows only later starts hidden.
ElementSet DesignedElements() {
    std::vector<Element> elements = ui::DesignedElements(kDesign);
    for (Ctl id : {Ctl::Label1, Ctl::Label4, Ctl::Message, Ctl::s, Ctl::Label3, Ctl::Label2, Ctl::down,
                   Ctl::downname})
        elements[Index(id)].visible = false;
    return ElementSet(std::move(elements));
}

// Only one download of the updater's runs at a time.
const JobOptions kDownloadJob{"installer", 0};

}  // namespace

FrmUpdate::FrmUpdate(const UpdaterPorts& ports, UpdaterConfig config)
    : ports_(ports), config_(std::move(config)), elements_(DesignedElements()) {
    PlaceBar();
}

FrmUpdate::~FrmUpdate() {
    // Reports and the result of a transfer still running must not reach a
    // model that is gone.
    if (job_ != kNoJob) ports_.work.Cancel(job_);
    ports_.oDownload.AbortDownloading();
}

bool FrmUpdate::FormLoad(std::string_view arguments) {
    if (IsBlank(arguments)) {
        ports_.shell.OpenWebPage(config_.promotionalPage);
        return false;
    }
    const UpdaterArguments parsed = SplitArguments(arguments);
    newVersion_ = parsed.version;
    switch (parsed.mode) {
        case UpdateMode::Upgrade:
            SetText(Ctl::Label1, UpgradeOfferText(newVersion_));
            Show(Ctl::Label1, true);
            break;
        case UpdateMode::Newest:
            SetText(Ctl::Label4, NewestVersionText(newVersion_));
            Show(Ctl::Label4, true);
            upgradeEnabled_ = false;
            break;
        case UpdateMode::Unknown: break;
    }
    const VersionFileEntries entries = LoadVersionFile(ports_.versionFile);
    SetText(Ctl::down, entries.downUrl);
    SetText(Ctl::downname, entries.downName);
    sha256_ = entries.sha256;
    ports_.host.Show();
    return true;
}

// --- Mouse ---------------------------------------------------------------------

std::optional<Ctl> FrmUpdate::ElementAt(int x, int y) const { return ui::ElementAt<Ctl>(elements_, ui::Point{x, y}, dpi_); }

void FrmUpdate::onMouseDown(int x, int y) {
    if (presses_.Down(elements_, ui::Point{x, y}, dpi_).action == ui::PressAction::Drag) ports_.host.RunMoveLoop();
}

void FrmUpdate::onMouseUp(int x, int y) {
    if (const auto clicked = presses_.Up(elements_, ui::Point{x, y}, dpi_)) Click(static_cast<Ctl>(*clicked));
}

void FrmUpdate::onMouseMove(int x, int y) {
    const std::optional<Ctl> over = ElementAt(x, y);
    // A disabled button answers no mouse, not even with its hover picture.
    elements_.SetLook(Index(Ctl::Image8),
                      over == Ctl::Image8 && upgradeEnabled_ ? ui::Look::Hover : ui::Look::Normal);
    elements_.SetLook(Index(Ctl::I1), over == Ctl::I1 ? ui::Look::Hover : ui::Look::Normal);
}

void FrmUpdate::onMouseLeave() {
    elements_.SetLook(Index(Ctl::Image8), ui::Look::Normal);
    elements_.SetLook(Index(Ctl::I1), ui::Look::Normal);
}

void FrmUpdate::Click(Ctl id) {
    switch (id) {
        case Ctl::Image8: onImage8Click(); break;
        case Ctl::I1: onI1Click(); break;
        case Ctl::Label2: onLabel2Click(); break;
        default: break;
    }
}

// --- Window --------------------------------------------------------------------

void FrmUpdate::onFormResize(int width, int height, bool minimized) {
    if (minimized) return;
    elements_.SetRect(Index(Ctl::Line1), {0, 0, width, kLine1});
    elements_.SetRect(Index(Ctl::Line2), {0, 0, kLine1, height});
    elements_.SetRect(Index(Ctl::Line3), {width - kLine1, 0, kLine1, height});
    elements_.SetRect(Index(Ctl::Line4), {0, height - kLine1, width, kLine1});
}

void FrmUpdate::onDpiChanged(int dpi) {
    dpi_ = ui::Dpi(dpi);
    PlaceBar();
    elements_.MarkAllChanged();
}

void FrmUpdate::PlaceBar() {
    const Rect& r = element(Ctl::s).rect;
    const PictureSize size = ProgressBar::SnapSize(r.width, r.height);
    elements_.SetRect(Index(Ctl::s), {r.left, r.top, size.width, size.height});
    const Rect px = dpi_.Px(element(Ctl::s).rect);
    s_.SetSurface(px.width, px.height);
    elements_.MarkChanged(Index(Ctl::s));
}

void FrmUpdate::Unload() {
    if (Downloading()) {
        Cancel(false);
        return;
    }
    ports_.host.Close();
}

void FrmUpdate::onTimer(UpdaterTimer id) {
    ports_.host.StopTimer(id);
    if (id != UpdaterTimer::CancelGrace || stage_ != Stage::Cancelling) return;
    // The server sends nothing more, so no report comes to stop the transfer:
    // its result is no longer awaited.
    ports_.work.Cancel(job_);
    job_ = kNoJob;
    FinishCancel();
}

// --- Buttons -------------------------------------------------------------------

void FrmUpdate::onI1Click() {
    if (Downloading()) {
        // Ending now would leave a half-written file: the transfer stops first.
        Cancel(true);
        return;
    }
    ports_.processes.EndProcessesByName(kUpdaterExe);
    ports_.host.Close();
}

void FrmUpdate::onLabel2Click() {
    if (stage_ == Stage::Downloading) Cancel(false);
}

void FrmUpdate::Cancel(bool thenEndProcess) {
    endAfterCancel_ = endAfterCancel_ || thenEndProcess;
    if (stage_ == Stage::Cancelling) return;
    stage_ = Stage::Cancelling;
    ports_.oDownload.AbortDownloading();
    ports_.host.StartTimer(UpdaterTimer::CancelGrace, kCancelGraceMs);
}

void FrmUpdate::FinishCancel() {
    stage_ = Stage::Idle;
    if (endAfterCancel_) ports_.processes.EndProcessesByName(kUpdaterExe);
    ports_.host.Close();
}

void FrmUpdate::onImage8Click() {
    if (!upgradeEnabled_ || stage_ != Stage::Idle) return;
    // Read again now, from the file itself: only what the release key signed
    // is downloaded, and nothing is ended, written or run for anything else.
    const std::optional<VersionFileEntries> release = TrustedRelease();
    if (!release) {
        ShowMessage(kInvalidUpdateText);
        return;
    }
    SetText(Ctl::down, release->downUrl);
    SetText(Ctl::downname, release->downName);
    sha256_ = release->sha256;
    newVersion_ = release->version;
    StartDownload();
}

std::optional<VersionFileEntries> FrmUpdate::TrustedRelease() const {
    const FileBytes file = ReadFileBytes(config_.versionFilePath);
    if (file.outcome != ReadOutcome::Read) return std::nullopt;
    std::optional<VersionFileEntries> release = ReadSignedVersionFile(file.bytes, ports_.verifier);
    if (!release || !NormalizeSha256(release->sha256) ||
        CheckDownName(release->downName, release->downUrl) != DownNameCheck::Accepted)
        return std::nullopt;
    // A release signed long ago and served again is no update.
    const std::string installed = ports_.settings.ReadSetting(kInstalledVersionSection, kInstalledVersionKey, "");
    if (!IsNewerVersion(installed, release->version)) return std::nullopt;
    return release;
}

void FrmUpdate::StartDownload() {
    ShowTransfer(true);
    Show(Ctl::Message, false);
    SetText(Ctl::Label3, PercentText(0));
    s_.SetValue(0);
    elements_.MarkChanged(Index(Ctl::s));
    const std::string& url = element(Ctl::down).text;
    DownloadRequest request{url, AddString(config_.programFolder, "\\") + GetFileNameInPath(url, false),
                            NormalizeSha256(sha256_)};
    stage_ = Stage::Downloading;
    FileDownloader& engine = ports_.oDownload;
    job_ = ports_.work.RunReporting<DownloadOutcome>(
        kDownloadJob,
        [&engine, request, this](const PostReport& post) {
            // On the worker: the model is reached only through posted reports.
            return engine.StartDownloading(request, [&post, this](const DownloadProgress& progress) {
                post([this, progress] { oDownload_OnProgress(progress); });
            });
        },
        [this](DownloadOutcome outcome) { OnDownloadDone(outcome); },
        [this] { OnDownloadDone(DownloadOutcome::Failed); });
    if (job_ == kNoJob) OnDownloadDone(DownloadOutcome::Failed);
}

void FrmUpdate::oDownload_OnProgress(const DownloadProgress& progress) {
    if (stage_ == Stage::Cancelling) {
        // A cancel that came before the transfer had begun takes effect now.
        ports_.oDownload.AbortDownloading();
        return;
    }
    if (stage_ != Stage::Downloading || progress.progress == 0) return;
    if (progress.maxProgress == 0) {
        // No length announced (a chunked answer): the bytes so far.
        SetText(Ctl::Label3, ReceivedText(progress.progress));
        return;
    }
    const float percent = static_cast<float>(progress.progress) / static_cast<float>(progress.maxProgress) * 100.0f;
    s_.SetValue(percent);
    elements_.MarkChanged(Index(Ctl::s));
    SetText(Ctl::Label3, PercentText(percent));
}

void FrmUpdate::OnDownloadDone(DownloadOutcome outcome) {
    job_ = kNoJob;
    if (stage_ == Stage::Cancelling) {
        ports_.host.StopTimer(UpdaterTimer::CancelGrace);
        FinishCancel();
        return;
    }
    stage_ = Stage::Idle;
    switch (outcome) {
        case DownloadOutcome::Done: HandOver(); break;
        case DownloadOutcome::Mismatch: ShowMessage(kMismatchText); break;
        default: ports_.host.Close(); break;  // failed: the window closes, nothing else happens
    }
}

// --- The hand-over to the installer ----------------------------------------------

void FrmUpdate::HandOver() {
    stage_ = Stage::HandedOver;
    ports_.processes.EndProcessesByName(kCalendarExe);
    ports_.processes.EndProcessesByName(kLauncherExe);
    const std::string& name = element(Ctl::downname).text;
    const std::string folder = AddString(config_.programFolder, "\\");
    const std::string script = folder + ScriptName(name);
    // A folder the script's code page cannot name is left to the installer's
    // own record of where it installed.
    const bool folderFits = GbkToUtf8(Utf8ToGbk(config_.programFolder)) == config_.programFolder;
    if (!ports_.scripts.WriteScript(script,
                                    Utf8ToGbk(CommandScript(name, folderFits ? config_.programFolder : "")))) {
        HandOverFailed();
        return;
    }
    // The script names the installer and itself without a folder.
    if (!ports_.scripts.StartHidden(script, config_.programFolder)) {
        ports_.scripts.DeleteScript(script);
        HandOverFailed();
        return;
    }
    // Recorded only now: an installer that never started installed nothing.
    ports_.settings.WriteSetting(kUpdaterVersionSection, kUpdaterVersionKey, newVersion_);
    ports_.processes.EndProcessesByName(kUpdaterExe);
    ports_.host.Close();
}

void FrmUpdate::HandOverFailed() {
    // The calendar was ended for an installer that will not come: it comes
    // back before the user reads why.
    ports_.starter.StartProgram(AddString(config_.programFolder, "\\") + std::string(kCalendarExe), "qidong");
    stage_ = Stage::Idle;
    ShowMessage(kNotStartedText);
}

void FrmUpdate::ShowMessage(std::string_view text) {
    ShowTransfer(false);
    Show(Ctl::Label1, false);
    Show(Ctl::Label4, false);
    SetText(Ctl::Message, std::string(text));
    Show(Ctl::Message, true);
}

void FrmUpdate::ShowTransfer(bool shown) {
    for (Ctl id : {Ctl::s, Ctl::Label3, Ctl::Label2}) Show(id, shown);
}

}  // namespace torvane::update
