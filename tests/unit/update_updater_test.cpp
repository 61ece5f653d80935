// The updater's window model against one fake world: its load, the upgrade
// and its hand-over, the refusals of hostile update information, cancel and
// close during a download.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/fake_background_work.h"
#include "common/text_codec.h"
#include "common/file_io.h"
#include "temp_folder.h"
#include "test_signer.h"
#include "update/updater_model.h"

namespace torvane::update {
namespace {

using Log = std::vector<std::string>;

constexpr char kFolder[] = "C:\\Torvane";
constexpr char kPromo[] = "http://127.0.0.1:9/tg/";
constexpr char kUrl[] = "http://127.0.0.1:9/tg/setup.exe";
const std::string kDigest(64, 'a');

struct Ini : Settings {
    Log& log;
    std::string name;
    std::map<std::string, std::string> values;  // "section/key"
    Ini(Log& log, std::string name) : log(log), name(std::move(name)) {}
    std::string ReadSetting(std::string_view section, std::string_view key, std::string_view) override {
        auto it = values.find(std::string(section) + "/" + std::string(key));
        return it == values.end() ? std::string() : it->second;
    }
    void WriteSetting(std::string_view section, std::string_view key, std::string_view value) override {
        log.push_back(name + " " + std::string(section) + "/" + std::string(key) + "=" + std::string(value));
    }
};

struct World : Shell, ProcessEnder, FileDownloader, ScriptStarter, UpdaterHost, ProgramStarter {
    Log log;
    Ini settings{log, "set.ini"}, versionFile{log, "version.ini"};
    FakeBackgroundWork work;
    // The transfer: its reports, then its outcome, unless it was aborted.
    std::vector<DownloadProgress> reports;
    DownloadOutcome outcome = DownloadOutcome::Done;
    std::function<void()> afterReport;  // the window's turn between two reports
    bool aborted = false;
    std::map<std::string, std::string> scripts;
    bool canStart = true;
    std::map<UpdaterTimer, int> timers;

    void OpenWebPage(std::string_view address) override { log.push_back("open " + std::string(address)); }
    void EndProcessesByName(std::string_view name) override { log.push_back("end " + std::string(name)); }
    DownloadOutcome StartDownloading(const DownloadRequest& r, const ProgressHandler& onProgress) override {
        log.push_back("download " + r.url + " to " + r.target + (r.sha256 ? " sha " + *r.sha256 : ""));
        for (const DownloadProgress& p : reports) {
            if (aborted) break;
            onProgress(p);
            if (afterReport) afterReport();
        }
        return aborted ? DownloadOutcome::Aborted : outcome;
    }
    void AbortDownloading() override {
        aborted = true;
        log.push_back("abort");
    }
    bool WriteScript(std::string_view path, std::string_view bytes) override {
        log.push_back("write " + std::string(path));
        scripts[std::string(path)] = std::string(bytes);
        return true;
    }
    void DeleteScript(std::string_view path) override {
        log.push_back("delete " + std::string(path));
        scripts.erase(std::string(path));
    }
    bool StartHidden(std::string_view path, std::string_view folder) override {
        log.push_back("start " + std::string(path) + " in " + std::string(folder));
        return canStart;
    }
    bool StartProgram(std::string_view path, std::string_view arguments) override {
        log.push_back("run " + std::string(path) + " " + std::string(arguments));
        return true;
    }
    void Show() override { log.push_back("show"); }
    void Close() override { log.push_back("close"); }
    void RunMoveLoop() override { log.push_back("move loop"); }
    void StartTimer(UpdaterTimer id, int ms) override { timers[id] = ms; }
    void StopTimer(UpdaterTimer id) override { timers.erase(id); }
};

// The version file's text, as the update server would sign it.
std::string VersionText(const std::string& name, const std::string& url, const std::string& sha,
                        const std::string& version = "2.1") {
    return "[Version]\r\nVersion=" + version + "\r\nDownUrl=" + url + "\r\nDownName=" + name +
           "\r\nSha256=" + sha + "\r\n";
}

struct Harness {
    std::string programFolder;
    World w;
    testing_support::TestKey key;
    std::shared_ptr<native::OpenSslVerifier> verifier = key.Verifier();
    testing_support::TempFolder folder{"updater"};
    std::string versionIni = (folder.path() / "version.ini").string();
    FrmUpdate model{UpdaterPorts{w.settings, w.versionFile, w, w, w, w.work, w, w, *verifier, w},
                    UpdaterConfig{programFolder, kPromo, versionIni}};

    explicit Harness(std::string name = "setup.exe", std::string url = kUrl, std::string sha = kDigest,
                     std::string folder = kFolder)
        : programFolder(std::move(folder)) {
        w.versionFile.values["Version/DownUrl"] = url;
        w.versionFile.values["Version/DownName"] = name;
        Serve(key.SignedText(VersionText(name, url, sha)));
    }
    // version.ini as the calendar kept it.
    void Serve(const std::string& text) { EXPECT_TRUE(ReplaceFileContents(versionIni, text)); }
    // Loads with the arguments; the log starts afresh.
    Harness& Load(std::string_view arguments = "2.1###shengji###") {
        EXPECT_TRUE(model.FormLoad(arguments));
        w.log.clear();
        return *this;
    }
    const ui::Element& E(Ctl id) const { return model.element(id); }
    ui::Rect Pixels(Ctl id) const { return model.dpi().Px(E(id).rect); }
    void Click(Ctl id) {
        const ui::Rect r = Pixels(id);
        model.onMouseDown(r.left + r.width / 2, r.top + r.height / 2);
        model.onMouseUp(r.left + r.width / 2, r.top + r.height / 2);
    }
    // Ends the running transfer as the runner would.
    void Finish() { ASSERT_EQ(w.work.CompleteAll(), 1); }
};

const std::string kDownload = std::string("download ") + kUrl + " to C:\\Torvane\\setup.exe sha " + kDigest;

TEST(Updater, LoadShowsTheLabelOfItsModeAndReadsTheInstaller) {
    struct Case { const char* arguments; bool label1, label4, enabled; const char* text; };
    const Case cases[] = {
        {"2.1###shengji###", true, false, true, "检测到当前最新版为：2.1版，是否立即升级"},
        {"2.0###wu###", false, true, false, "您当前使用的已经是最新版，版本2.0，无需升级"},
        {"2.2###other###", false, false, true, ""},
        {"2.2", false, false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        Harness h;
        EXPECT_TRUE(h.model.FormLoad(c.arguments));
        EXPECT_EQ(h.w.log, Log{"show"});
        EXPECT_EQ(h.E(Ctl::Label1).visible, c.label1);
        EXPECT_EQ(h.E(Ctl::Label4).visible, c.label4);
        EXPECT_EQ(h.E(c.label4 ? Ctl::Label4 : Ctl::Label1).text, c.text);
        EXPECT_EQ(h.model.UpgradeEnabled(), c.enabled);
        EXPECT_EQ(h.E(Ctl::down).text, kUrl);
        EXPECT_EQ(h.E(Ctl::downname).text, "setup.exe");
        EXPECT_FALSE(h.E(Ctl::s).visible || h.E(Ctl::Label2).visible || h.E(Ctl::Label3).visible);
    }
}

TEST(Updater, WithoutArgumentsItOpensThePromotionalPageAndEnds) {
    Harness h;
    EXPECT_FALSE(h.model.FormLoad("  "));
    EXPECT_EQ(h.w.log, Log{std::string("open ") + kPromo});
}

TEST(Updater, UpgradeDownloadsEndsTheSuiteStartsTheScriptThenRecordsTheVersion) {
    Harness h;
    h.Load();
    h.w.reports = {{17, 40, 0, 0, {}}};
    h.Click(Ctl::Image8);
    EXPECT_TRUE(h.E(Ctl::s).visible && h.E(Ctl::Label2).visible && h.E(Ctl::Label3).visible);
    h.Finish();
    const std::string script = "C:\\Torvane\\setup.exe.cmd";
    EXPECT_EQ(h.w.log, (Log{kDownload, "end torvane.exe", "end torvo.exe", "write " + script,
                            "start " + script + " in C:\\Torvane", "set.ini Version/Version=2.1",
                            "end torvaneupdate.exe", "close"}));
    EXPECT_EQ(h.w.scripts[script],
              Utf8ToGbk("start /wait  \"\" \"setup.exe\" /S /D=C:\\Torvane\r\ndel  \"setup.exe.cmd\"\r\n"));
}

TEST(Updater, AFolderTheScriptsCodePageCannotNameIsLeftToTheInstallersRecord) {
    const std::string folder = "C:\\工具\xF0\x9F\x98\x80";  // no GBK character for the last one
    Harness h("setup.exe", kUrl, kDigest, folder);
    h.Load();
    h.Click(Ctl::Image8);
    h.Finish();
    EXPECT_EQ(h.w.scripts[folder + "\\setup.exe.cmd"],
              Utf8ToGbk("start /wait  \"\" \"setup.exe\" /S\r\ndel  \"setup.exe.cmd\"\r\n"));
}

TEST(Updater, ProgressMovesTheBarAndThePercentage) {
    Harness h;
    h.Load();
    std::vector<std::string> seen;
    h.w.reports = {{17, 40, 0, 0, {}}, {0, 40, 0, 0, {}}, {40, 0, 0, 0, {}}};
    h.w.afterReport = [&] {
        h.w.work.DeliverReports();
        seen.push_back(h.E(Ctl::Label3).text);
    };
    h.w.outcome = DownloadOutcome::Failed;
    h.Click(Ctl::Image8);
    EXPECT_EQ(h.E(Ctl::Label3).text, "0.00%");
    h.Finish();
    // A report without a count changes nothing; one without a total (a
    // chunked answer) shows the bytes so far.
    EXPECT_EQ(seen, (std::vector<std::string>{"42.50%", "42.50%", "1KB"}));
    EXPECT_EQ(h.model.bar().Value(), 42.5f);
}

TEST(Updater, HostileUpdateInformationDownloadsEndsWritesAndRunsNothing) {
    testing_support::TestKey other;
    struct Case {
        const char* what;
        std::function<std::string(Harness&)> versionIni;  // "": no version.ini
        const char* installed = "";
    };
    const auto signed_ = [](std::string name, std::string url, std::string sha = kDigest) {
        return [=](Harness& h) { return h.key.SignedText(VersionText(name, url, sha)); };
    };
    const Case cases[] = {
        {"no signature", [](Harness&) { return VersionText("setup.exe", kUrl, kDigest); }},
        {"other key", [&other](Harness&) { return other.SignedText(VersionText("setup.exe", kUrl, kDigest)); }},
        {"signature over other bytes", [](Harness& h) {
             const std::string text = VersionText("setup.exe", kUrl, kDigest);
             return text + h.key.SignedText(VersionText("setup.exe", kUrl, kDigest, "2.2")).substr(text.size());
         }},
        {"line after the signature", [](Harness& h) {
             return h.key.SignedText(VersionText("setup.exe", kUrl, kDigest)) + "DownName=x.exe\r\n";
         }},
        {"old release replayed", signed_("setup.exe", kUrl), "2.1"},
        {"no version.ini", [](Harness&) { return std::string(); }},
        {"no digest", signed_("setup.exe", kUrl, "")},
        {"not a digest", signed_("setup.exe", kUrl, "not-a-digest")},
        {"del's separators", signed_("set.ini,setup.exe", "http://127.0.0.1:9/set.ini,setup.exe")},
        {"command", signed_("a.exe & calc.exe", "http://127.0.0.1:9/a.exe & calc.exe")},
        {"folder", signed_("..\\x.exe", "http://127.0.0.1:9/x.exe")},
        {"not the download", signed_("other.exe", kUrl)},
        {"not the web", signed_("setup.exe", "file:///C:/setup.exe")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        const std::string text = c.versionIni(h);
        if (text.empty()) {
            RemoveFile(h.versionIni);
        } else {
            h.Serve(text);
        }
        h.w.settings.values["version/version"] = c.installed;
        h.Load();
        h.Click(Ctl::Image8);
        EXPECT_TRUE(h.w.work.started().empty());
        EXPECT_TRUE(h.w.log.empty());
        EXPECT_TRUE(h.E(Ctl::Message).visible);
        EXPECT_EQ(h.E(Ctl::Message).text, kInvalidUpdateText);
        EXPECT_FALSE(h.E(Ctl::Label1).visible || h.E(Ctl::s).visible);
    }
}

TEST(Updater, AFailedTransferClosesTheWindowAndNothingElseHappens) {
    for (DownloadOutcome outcome : {DownloadOutcome::Failed, DownloadOutcome::Cut, DownloadOutcome::NotSaved,
                                    DownloadOutcome::Refused}) {
        SCOPED_TRACE(static_cast<int>(outcome));
        Harness h;
        h.Load();
        h.w.outcome = outcome;
        h.Click(Ctl::Image8);
        h.Finish();
        EXPECT_EQ(h.w.log, (Log{kDownload, "close"}));
    }
}

TEST(Updater, AMismatchedInstallerIsReportedAndNothingIsEndedOrRun) {
    Harness h("setup.exe", kUrl, std::string(64, 'A'));
    h.Load();
    h.w.outcome = DownloadOutcome::Mismatch;
    h.Click(Ctl::Image8);
    h.Finish();
    EXPECT_EQ(h.w.log, Log{kDownload});
    EXPECT_EQ(h.E(Ctl::Message).text, kMismatchText);
    EXPECT_FALSE(h.E(Ctl::s).visible || h.E(Ctl::Label2).visible);
}

TEST(Updater, AScriptThatCannotStartIsRemovedTheCalendarComesBackAndNoVersionIsRecorded) {
    Harness h;
    h.Load();
    h.w.canStart = false;
    h.Click(Ctl::Image8);
    h.Finish();
    const std::string script = "C:\\Torvane\\setup.exe.cmd";
    EXPECT_EQ(h.w.log, (Log{kDownload, "end torvane.exe", "end torvo.exe", "write " + script,
                            "start " + script + " in C:\\Torvane", "delete " + script,
                            "run C:\\Torvane\\torvane.exe qidong"}));
    EXPECT_TRUE(h.w.scripts.empty());
    EXPECT_EQ(h.E(Ctl::Message).text, kNotStartedText);
}

TEST(Updater, CancelStopsTheTransferAtItsNextReportAndClosesTheWindow) {
    Harness h;
    h.Load();
    h.w.reports = {{10, 40, 0, 0, {}}, {20, 40, 0, 0, {}}};
    h.w.afterReport = [&] {
        h.w.work.DeliverReports();
        h.Click(Ctl::Label2);
    };
    h.Click(Ctl::Image8);
    h.Finish();
    EXPECT_EQ(h.w.log, (Log{kDownload, "abort", "close"}));
    EXPECT_TRUE(h.w.timers.empty());
}

TEST(Updater, ATransferThatSendsNothingMoreIsNotAwaitedAfterCancel) {
    Harness h;
    h.Load();
    h.Click(Ctl::Image8);
    h.Click(Ctl::Label2);
    EXPECT_EQ(h.w.timers[UpdaterTimer::CancelGrace], kCancelGraceMs);
    h.model.onTimer(UpdaterTimer::CancelGrace);
    EXPECT_TRUE(h.w.work.Pending().empty());
    EXPECT_EQ(h.w.log, (Log{"abort", "close"}));
}

TEST(Updater, TheCloseButtonEndsTheUpdaterOnlyOnceTheTransferHasStopped) {
    Harness idle;
    idle.Load();
    idle.Click(Ctl::I1);
    EXPECT_EQ(idle.w.log, (Log{"end torvaneupdate.exe", "close"}));

    Harness h;
    h.Load();
    h.Click(Ctl::Image8);
    h.Click(Ctl::I1);
    h.model.Unload();  // Alt+F4 meanwhile changes nothing more
    EXPECT_EQ(h.w.log, Log{"abort"});
    h.Finish();
    EXPECT_EQ(h.w.log, (Log{"abort", kDownload, "end torvaneupdate.exe", "close"}));
}

TEST(Updater, AButtonThatIsDisabledOrBusyStartsNoTransfer) {
    Harness newest;
    newest.Load("2.0###wu###");
    newest.Click(Ctl::Image8);
    EXPECT_TRUE(newest.w.work.started().empty());

    Harness busy;
    busy.Load();
    busy.Click(Ctl::Image8);
    busy.Click(Ctl::Image8);
    EXPECT_EQ(busy.w.work.started().size(), 1u);
}

TEST(Updater, HoverLightsTheButtonUnderTheMouseAndDragsFromTheBackground) {
    Harness h;
    h.Load();
    const ui::Rect button = h.Pixels(Ctl::Image8);
    h.model.onMouseMove(button.left + 1, button.top + 1);
    EXPECT_EQ(h.E(Ctl::Image8).look, ui::Look::Hover);
    EXPECT_EQ(h.E(Ctl::I1).look, ui::Look::Normal);
    h.model.onMouseMove(2, 50);
    EXPECT_EQ(h.E(Ctl::Image8).look, ui::Look::Normal);
    h.model.onMouseDown(200, 20);
    EXPECT_EQ(h.w.log, Log{"move loop"});

    Harness newest;
    newest.Load("2.0###wu###");
    newest.model.onMouseMove(button.left + 1, button.top + 1);
    EXPECT_EQ(newest.E(Ctl::Image8).look, ui::Look::Normal);
}

TEST(Updater, ResizeKeepsTheFrameLinesOnTheEdges) {
    Harness h;
    h.Load();
    h.model.onFormResize(9000, 3000, false);
    EXPECT_EQ(h.E(Ctl::Line3).rect, (ui::Rect{9000 - 15, 0, 15, 3000}));
    EXPECT_EQ(h.E(Ctl::Line4).rect, (ui::Rect{0, 3000 - 15, 9000, 15}));
    h.model.onFormResize(0, 0, true);
    EXPECT_EQ(h.E(Ctl::Line1).rect.width, 9000);
}

}  // namespace
}  // namespace torvane::update
