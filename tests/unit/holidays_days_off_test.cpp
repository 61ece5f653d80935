// The days off at start-up (built-in copy or the file beside the programs)
// and their update from the server, on real files in a temporary folder.
#include <gtest/gtest.h>

#include "common/fake_background_work.h"
#include "common/file_io.h"
#include "holidays/days_off_component.h"
#include "temp_folder.h"
#include "test_signer.h"

namespace torvane::holidays {
namespace {

std::string Text(std::string_view published, std::string_view years = "2025 2025") {
    return "published " + std::string(published) + "\nyears " + std::string(years) + "\n2025-10-01 休 国庆节\n";
}

struct DaysOffTest : ::testing::Test {
    testing_support::TempFolder folder{"days_off"};
    DaysOffConfig config{"http://127.0.0.1:9/", (folder.path() / "holidays.txt").string(),
                         (folder.path() / "holidays.download").string()};
    FakeBackgroundWork work;
    testing_support::TestKey key, otherKey;
    std::optional<std::string> served;  // what the server answers; nothing: the download fails
    // Its signature file; nothing: the release key's signature of `served`.
    std::optional<std::string> signature;
    std::vector<DaysOffData> used;
    DaysOffComponent component{
        DaysOffPorts{work,
                     [this](const std::string& address, const std::string& path) {
                         if (address == "http://127.0.0.1:9/tg/holidays.txt.sig" && served)
                             return ReplaceFileContents(path, signature.value_or(EncodeHex(key.Sign(*served))));
                         return address == "http://127.0.0.1:9/tg/holidays.txt" && served &&
                                ReplaceFileContents(path, *served);
                     },
                     key.Verifier(), [this](DaysOffData data) { used.push_back(std::move(data)); }},
        config, LoadDaysOff(Text("2025-11-04"), config.filePath)};

    std::string Beside() const { return ReadFileBytes(config.filePath).bytes; }
    void Fetch() {
        component.Start();
        ASSERT_EQ(work.Pending().size(), 1u);
        work.CompleteAll();
    }
};

TEST_F(DaysOffTest, StartUpTakesTheNewerOfTheBuiltInCopyAndTheFileBeside) {
    EXPECT_EQ(LoadDaysOff(Text("2025-11-04"), config.filePath)->published(), (CivilDate{2025, 11, 4}));
    struct Case { std::string beside; CivilDate expected; };
    const Case cases[] = {{Text("2026-01-02"), {2026, 1, 2}},
                          {Text("2025-01-02"), {2025, 11, 4}},
                          {Text("2026-01-02") + "2025-13-01 休 x\n", {2025, 11, 4}}};
    for (const Case& c : cases) {
        ASSERT_TRUE(ReplaceFileContents(config.filePath, c.beside));
        EXPECT_EQ(LoadDaysOff(Text("2025-11-04"), config.filePath)->published(), c.expected) << c.beside;
    }
    ASSERT_TRUE(ReplaceFileContents(config.filePath, Text("2025-01-02")));
    EXPECT_EQ(LoadDaysOff("broken", config.filePath)->published(), (CivilDate{2025, 1, 2}));
    EXPECT_EQ(LoadDaysOff("broken", config.filePath + ".none"), nullptr);
}

TEST_F(DaysOffTest, ANewerFileReplacesTheOneBesideAndReachesTheWindow) {
    ASSERT_TRUE(ReplaceFileContents(config.filePath, Text("2025-11-04")));
    served = Text("2026-01-02");
    Fetch();
    EXPECT_EQ(Beside(), *served);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0]->published(), (CivilDate{2026, 1, 2}));
    EXPECT_EQ(component.current(), used[0]);
    EXPECT_FALSE(FileExists(config.downloadPath));
    EXPECT_FALSE(FileExists(config.downloadPath + ".sig"));
}

TEST_F(DaysOffTest, ANewerFileTheReleaseKeyDidNotSignChangesNothing) {
    ASSERT_TRUE(ReplaceFileContents(config.filePath, Text("2025-11-04")));
    served = Text("2026-01-02");
    const std::string signatures[] = {"", "not a signature", EncodeHex(otherKey.Sign(*served)),
                                      EncodeHex(key.Sign(Text("2026-01-03")))};
    for (const std::string& given : signatures) {
        SCOPED_TRACE(given);
        signature = given;
        Fetch();
        EXPECT_EQ(Beside(), Text("2025-11-04"));
        EXPECT_FALSE(FileExists(config.downloadPath) || FileExists(config.downloadPath + ".sig"));
    }
    EXPECT_TRUE(used.empty());
}

TEST_F(DaysOffTest, ABrokenOlderOrMissingFileChangesNothing) {
    ASSERT_TRUE(ReplaceFileContents(config.filePath, Text("2025-11-04")));
    const std::optional<std::string> answers[] = {Text("2026-01-02") + "2026-01-01 休 元旦\n",  // outside its years
                                                  Text("2025-11-04"), Text("2024-01-02"), std::nullopt};
    for (const std::optional<std::string>& answer : answers) {
        served = answer;
        Fetch();
        EXPECT_EQ(Beside(), Text("2025-11-04"));
        EXPECT_FALSE(FileExists(config.downloadPath));
    }
    EXPECT_TRUE(used.empty());
    EXPECT_EQ(component.current()->published(), (CivilDate{2025, 11, 4}));
}

// A later file is taken only when it covers at least as many years as the
// data in use: from the server, and beside the programs at start-up.
TEST_F(DaysOffTest, ALaterFileCoveringFewerYearsIsRefused) {
    struct Case {
        std::string_view years;
        bool taken;
    };
    const Case cases[] = {{"2025 2025", false}, {"2024 2025", true}, {"2025 2026", true}, {"2020 2026", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.years);
        const std::string inUse = Text("2025-11-04", "2024 2025");
        ASSERT_TRUE(ReplaceFileContents(config.filePath, inUse));
        DaysOffComponent fetcher{DaysOffPorts{work,
                                              [this, &c](const std::string& address, const std::string& path) {
                                                  const std::string text = Text("2026-01-02", c.years);
                                                  return ReplaceFileContents(
                                                      path, address.ends_with(".sig") ? EncodeHex(key.Sign(text))
                                                                                      : text);
                                              },
                                              key.Verifier(), [](DaysOffData) {}},
                                 config, LoadDaysOff("broken", config.filePath)};
        const CivilDate expected = c.taken ? CivilDate{2026, 1, 2} : CivilDate{2025, 11, 4};
        fetcher.Start();
        work.CompleteAll();
        EXPECT_EQ(Beside() != inUse, c.taken);
        EXPECT_EQ(fetcher.current()->published(), expected);

        ASSERT_TRUE(ReplaceFileContents(config.filePath, Text("2026-01-02", c.years)));
        EXPECT_EQ(LoadDaysOff(inUse, config.filePath)->published(), expected);
    }
}

TEST_F(DaysOffTest, OneFetchAtATime) {
    component.Start();
    component.Start();
    EXPECT_EQ(work.started().size(), 1u);
    EXPECT_TRUE(component.Fetching());
    work.TimeOut(work.Pending()[0]);
    EXPECT_FALSE(component.Fetching());
    component.Start();
    EXPECT_EQ(work.started().size(), 2u);
    EXPECT_EQ(work.started()[1].kind, kDaysOffJob);
    // A fetch the runner could not start leaves the next start free to try.
    work.TimeOut(work.Pending()[0]);
    work.refusing = true;
    component.Start();
    EXPECT_FALSE(component.Fetching());
    work.refusing = false;
    component.Start();
    EXPECT_EQ(work.started().size(), 3u);
}

}  // namespace
}  // namespace torvane::holidays
