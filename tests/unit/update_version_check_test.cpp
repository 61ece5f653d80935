#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <tuple>

#include "calendar_fakes.h"
#include "common/fake_background_work.h"
#include "common/file_io.h"
#include "temp_folder.h"
#include "test_signer.h"
#include "update/check/version_check.h"
#include "update/version_order.h"

namespace torvane::update {
namespace {

using calendar::TimerId;
using calendar::WindowEvent;
using calendar::testing::Harness;

TEST(VersionOrder, DottedNumbersPartByPart) {
    struct Case {
        const char* installed;
        const char* remote;
        bool newer;
    };
    const Case cases[] = {
        {"2.0", "2.1", true},     {"2.1", "2.0", false},   {"9.0", "10.0", true},  {"2.9", "2.10", true},
        {"2.1", "2.1.1", true},   {"2.1", "2.1.0", false}, {"2.1.0", "2.1", false}, {"2.1", "2.1", false},
        {"", "0.1", true},        {"2.0", "", false},      {"", "", false},        {"2.01", "2.1", false},  {"2.1", "2.01", false},
        {"2.0b", "2.0c", true},   {" 2.0", "2.0 ", false}, {"2.0", "2.0.0.1", true},
        {"99999999999999999999", "100000000000000000000", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsNewerVersion(c.installed, c.remote), c.newer) << c.installed << " < " << c.remote;
}

std::string VersionText(std::string_view version) {
    return "[Version]\r\nVersion=" + std::string(version) + "\r\nDownUrl=https://127.0.0.1/tg/setup.exe\r\n";
}

// The update server: what it answers, written whole into the target.
struct FakeDownloader : VersionDownloader {
    std::vector<std::string> urls;
    std::optional<std::string> served;  // nothing: the download fails
    int aborts = 0;
    bool Download(const std::string& url, const std::string& target) override {
        urls.push_back(url);
        return served && ReplaceFileContents(target, *served);
    }
    void Abort() override { ++aborts; }
};

struct World : ProgramStarter, Prompt {
    std::vector<std::string> started;
    std::vector<std::string> asked;
    bool answer = true;
    bool StartProgram(std::string_view path, std::string_view arguments) override {
        started.push_back(std::string(path) + " " + std::string(arguments));
        return true;
    }
    bool AskYesNo(std::string_view title, std::string_view text) override {
        asked.push_back(std::string(title) + "|" + std::string(text));
        return answer;
    }
};

struct Rig {
    Harness h;
    FakeBackgroundWork work;
    testing_support::TestKey key;
    std::shared_ptr<FakeDownloader> downloader = std::make_shared<FakeDownloader>();
    World world;
    testing_support::TempFolder folder{"version_check"};
    std::string versionIni = (folder.path() / "version.ini").string();
    std::string download = (folder.path() / "version.download").string();
    std::string updater = (folder.path() / "torvaneupdate.exe").string();
    std::string silent = (folder.path() / "update.exe").string();
    VersionCheck check{VersionCheckPorts{work, downloader, key.Verifier(), h.w, world, world, h.model},
                       VersionCheckConfig{"http://127.0.0.1:8", versionIni, download, updater, silent, {}}};

    Rig() {
        h.model.AddComponent(check);
        std::ofstream(updater) << "MZ";
    }
    // The installed version, and a version file the release key signed.
    void Versions(const char* installed, const char* remote) {
        // The fake settings store holds only [sys]; the installed version sits there under its key.
        h.w.sys["version"] = installed;
        downloader->served = key.SignedText(VersionText(remote));
    }
    bool Quitting() const { return std::find(h.w.log.begin(), h.w.log.end(), "quit") != h.w.log.end(); }
};

TEST(VersionCheck, ANewerReleaseIsOfferedOnceTheDownloadAndTheTimerHaveEnded) {
    Rig r;
    auto [h, work, downloader, world, updater] = std::tie(r.h, r.work, r.downloader, r.world, r.updater);
    r.Versions("2.0", "2.1");
    h.Start();
    ASSERT_EQ(h.w.timers[TimerId::TmrLoad], 300);
    h.model.onTimer(TimerId::TmrLoad);
    EXPECT_FALSE(h.w.timers.contains(TimerId::TmrLoad));  // one tick per start
    EXPECT_TRUE(world.asked.empty());                      // the download has not ended yet
    work.CompleteAll();
    EXPECT_EQ(downloader->urls, std::vector<std::string>{"http://127.0.0.1:8/tg/version.txt"});
    ASSERT_EQ(world.asked, std::vector<std::string>{"检测到更新|是否立即升级新版本新版版本号：2.1"});
    EXPECT_EQ(world.started, std::vector<std::string>{updater + " 2.1###shengji###"});
    // The calendar ends for the updater, its tray icon first.
    const auto removed = std::find(h.w.log.begin(), h.w.log.end(), "tray remove");
    ASSERT_NE(removed, h.w.log.end());
    EXPECT_NE(std::find(removed, h.w.log.end(), "quit"), h.w.log.end());
}

TEST(VersionCheck, WhatEachAnswerAndSettingLeadsTo) {
    struct Case {
        const char* installed;
        const char* remote;
        bool automatic, answer, silentExists;
        size_t asked, started;
        bool quits;
    };
    const Case cases[] = {
        {"2.0", "2.0", false, true, false, 0, 0, false},   // equal: nothing
        {"9.0", "10.0", false, false, false, 1, 0, false},  // offered; No keeps it running
        {"2.0", "2.1", true, true, false, 0, 0, false},     // automatic without update.exe
        {"2.0", "2.1", true, true, true, 0, 1, true},       // automatic with it
        {"", "2.1", false, true, false, 1, 1, true},        // no installed version
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.installed) + " -> " + c.remote);
        Rig t;
        t.Versions(c.installed, c.remote);
        t.h.w.sys["x9"] = c.automatic ? "True" : "False";
        t.world.answer = c.answer;
        if (c.silentExists) std::ofstream(t.silent) << "MZ";
        t.h.Start();
        t.work.CompleteAll();
        t.h.model.onTimer(TimerId::TmrLoad);
        EXPECT_EQ(t.world.asked.size(), c.asked);
        EXPECT_EQ(t.world.started.size(), c.started);
        EXPECT_EQ(t.Quitting(), c.quits);
    }
}

TEST(VersionCheck, TheTrayItemAlwaysStartsTheUpdaterAndKeepsTheCalendar) {
    Rig r;
    auto [h, work, world, updater] = std::tie(r.h, r.work, r.world, r.updater);
    r.Versions("2.0", "2.0");
    h.Start();
    work.CompleteAll();
    h.model.onMenuCommand(calendar::MenuCommand::CheckForUpdates);
    work.CompleteAll();
    r.Versions("2.0", "2.1");
    h.model.onMenuCommand(calendar::MenuCommand::CheckForUpdates);
    work.CompleteAll();
    h.model.onMenuCommand(calendar::MenuCommand::CheckForUpdates);
    // A download that never ends is cancelled; the signed version.ini kept speaks.
    work.TimeOut(work.Pending().back());
    EXPECT_EQ(r.downloader->aborts, 1);
    // The server takes the release back: its answer speaks, not the version.ini kept.
    r.Versions("2.0", "2.0");
    h.model.onMenuCommand(calendar::MenuCommand::CheckForUpdates);
    work.CompleteAll();
    // An older release served again: the updater names the installed one.
    r.Versions("2.0", "1.9");
    h.model.onMenuCommand(calendar::MenuCommand::CheckForUpdates);
    work.CompleteAll();
    EXPECT_EQ(world.started, (std::vector<std::string>{updater + " 2.0###wu###", updater + " 2.1###shengji###",
                                                       updater + " 2.1###shengji###", updater + " 2.0###wu###",
                                                       updater + " 2.0###wu###"}));
    EXPECT_FALSE(r.Quitting());
}

TEST(VersionCheck, OnlyASignedFileOfANewerReleaseIsKeptOrOffered) {
    testing_support::TestKey other;
    const std::string previous = "[Version]\r\nVersion=2.0\r\n";
    struct Case { const char* what; std::function<std::optional<std::string>(Rig&)> answer; bool kept; };
    const Case cases[] = {
        {"signed, newer", [](Rig& r) { return r.key.SignedText(VersionText("2.1")); }, true},
        {"no signature", [](Rig&) { return VersionText("2.1"); }, false},
        {"bad signature", [](Rig& r) {
             std::string text = r.key.SignedText(VersionText("2.1"));
             text[text.size() - 5] = text[text.size() - 5] == '0' ? '1' : '0';
             return text;
         }, false},
        {"signature over other bytes", [](Rig& r) {
             return VersionText("2.1") + r.key.SignedText(VersionText("2.2")).substr(VersionText("2.2").size());
         }, false},
        {"other key", [&other](Rig&) { return other.SignedText(VersionText("2.1")); }, false},
        {"old release replayed", [](Rig& r) { return r.key.SignedText(VersionText("1.9")); }, false},
        {"installed release replayed", [](Rig& r) { return r.key.SignedText(VersionText("2.0")); }, false},
        {"hostile name, unsigned", [](Rig&) {
             return VersionText("2.1") + "DownName=set.ini,setup.exe\r\n";
         }, false},
        {"download failed", [](Rig&) { return std::nullopt; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        r.h.w.sys["version"] = "2.0";
        ASSERT_TRUE(ReplaceFileContents(r.versionIni, previous));
        r.downloader->served = c.answer(r);
        r.h.Start();
        r.work.CompleteAll();
        r.h.model.onTimer(TimerId::TmrLoad);
        EXPECT_EQ(ReadFileBytes(r.versionIni).bytes, c.kept ? *r.downloader->served : previous);
        EXPECT_EQ(r.world.asked.size(), c.kept ? 1u : 0u);
        EXPECT_FALSE(FileExists(r.download));
    }
}

TEST(VersionCheck, ACheckGivenUpReplacesNothingWhenItsDownloadEndsLate) {
    Rig r;
    r.Versions("2.0", "2.1");
    VersionFetch fetch{"http://127.0.0.1:8/tg/version.txt", r.download, r.versionIni, "2.0"};
    std::atomic<bool> givenUp{true};
    EXPECT_FALSE(FetchSignedVersionFile(*r.downloader, *r.key.Verifier(), fetch, givenUp));
    EXPECT_FALSE(FileExists(r.versionIni) || FileExists(r.download));
    givenUp = false;
    EXPECT_TRUE(FetchSignedVersionFile(*r.downloader, *r.key.Verifier(), fetch, givenUp));
    EXPECT_EQ(ReadFileBytes(r.versionIni).bytes, *r.downloader->served);
}

}  // namespace
}  // namespace torvane::update
