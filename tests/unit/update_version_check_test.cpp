#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <tuple>

#include "calendar_fakes.h"
#include "common/fake_background_work.h"
#include "temp_folder.h"
#include "update/check/version_check.h"
#include "update/check/version_order.h"

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

struct MapSettings : Settings {
    std::map<std::string, std::string> values;  // "section/key"
    std::string ReadSetting(std::string_view section, std::string_view key, std::string_view fallback) override {
        const auto it = values.find(std::string(section) + "/" + std::string(key));
        return it == values.end() ? std::string(fallback) : it->second;
    }
    void WriteSetting(std::string_view, std::string_view, std::string_view) override {}
};

struct FakeDownloader : VersionDownloader {
    std::vector<std::string> urls;
    bool Download(const std::string& url, const std::string&) override {
        urls.push_back(url);
        return true;
    }
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
    std::shared_ptr<FakeDownloader> downloader = std::make_shared<FakeDownloader>();
    MapSettings versionFile;
    World world;
    testing_support::TempFolder folder{"version_check"};
    std::string updater = (folder.path() / "torvaneupdate.exe").string();
    std::string silent = (folder.path() / "update.exe").string();
    VersionCheck check{VersionCheckPorts{work, downloader, h.w, versionFile, world, world, h.model},
                       VersionCheckConfig{"http://127.0.0.1:8", "version.ini", updater, silent, {}}};

    Rig() {
        h.model.AddComponent(check);
        std::ofstream(updater) << "MZ";
    }
    void Versions(const char* installed, const char* remote) {
        // The fake settings store holds only [sys]; the installed version sits there under its key.
        h.w.sys["version"] = installed;
        versionFile.values["Version/Version"] = remote;
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
    work.TimeOut(work.Pending().back());  // a download that never ends still checks what is there
    EXPECT_EQ(world.started, (std::vector<std::string>{updater + " 2.0###wu###", updater + " 2.1###shengji###"}));
    EXPECT_FALSE(r.Quitting());
}

}  // namespace
}  // namespace torvane::update
