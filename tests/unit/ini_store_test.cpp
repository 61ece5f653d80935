#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/settings_keys.h"
#include "tests/unit/temp_folder.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kShippedSettings =
    "[sys]\r\nx1=True\r\nx2=True\r\nx3=True\r\nx4=True\r\nx5=True\r\nx6=True\r\n"
    "x7=False\r\nx8=True\r\nx9=False\r\n";

class IniFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp_.path().empty());
        file_ = folder_ / "set.ini";
    }

    void Put(std::string_view bytes) const
    {
        std::ofstream(file_, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::string Bytes() const
    {
        std::ifstream in(file_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Read(std::string_view section, std::string_view key)
    {
        return IniSettings(file_.string()).ReadSetting(section, key, "");
    }
    void Write(std::string_view section, std::string_view key, std::string_view value)
    {
        IniSettings(file_.string()).WriteSetting(section, key, value);
    }

    testing_support::TempFolder temp_{"tv_ini"};
    const fs::path& folder_ = temp_.path();
    fs::path file_;
};

using IniStore = IniFileTest;

TEST_F(IniStore, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt)
{
    EXPECT_EQ(Read("sys", "x1"), "");
    EXPECT_EQ(IniSettings(file_.string()).ReadSetting("sys", "x1", "fallback"), "fallback");
    EXPECT_FALSE(fs::exists(file_));
    Write("sys", "x7", "True");
    EXPECT_EQ(Bytes(), "[sys]\r\nx7=True\r\n");
}

TEST_F(IniStore, MissingSectionOrKeyReadsTheDefaultButAnEmptyValueDoesNot)
{
    Put("[sys]\r\nx1=\r\n");
    IniSettings settings(file_.string());
    EXPECT_EQ(settings.ReadSetting("sys", "x2", "d"), "d");
    EXPECT_EQ(settings.ReadSetting("other", "x1", "d"), "d");
    EXPECT_EQ(settings.ReadSetting("sys", "x1", "d"), "");
}

TEST_F(IniStore, ASnapshotReadsTheFileOnceUntilItEndsAndFollowsItsOwnWrites)
{
    Put("[sys]\r\nx1=True\r\n");
    IniSettings settings(file_.string());
    settings.BeginSnapshot();
    EXPECT_EQ(settings.ReadSetting("sys", "x1", ""), "True");
    Put("[sys]\r\nx1=False\r\n");  // another program's write
    EXPECT_EQ(settings.ReadSetting("sys", "x1", ""), "True");
    settings.WriteSetting("sys", "x2", "on");
    EXPECT_EQ(settings.ReadSetting("sys", "x1", ""), "False");
    EXPECT_EQ(settings.ReadSetting("sys", "x2", ""), "on");
    Put("[sys]\r\nx1=True\r\n");
    settings.EndSnapshot();
    EXPECT_EQ(settings.ReadSetting("sys", "x1", ""), "True");
    // A file missing at the snapshot reads the defaults, not an empty value.
    fs::remove(file_);
    settings.BeginSnapshot();
    EXPECT_EQ(settings.ReadSetting("sys", "x1", "d"), "d");
}

TEST_F(IniStore, SectionsAndKeysMatchWithoutRegardToCase)
{
    Put(kShippedSettings);
    // The updater's spelling, then the calendar's.
    Write("Version", "Version", "2.0");
    EXPECT_EQ(Read("version", "version"), "2.0");
    Write("VERSION", "version", "2.1");
    EXPECT_EQ(Read("Version", "VERSION"), "2.1");
    EXPECT_EQ(Read("SYS", "X7"), "False");
    EXPECT_EQ(Bytes(), std::string(kShippedSettings) + "[Version]\r\nVersion=2.1\r\n");
}

TEST_F(IniStore, ReplacesAValueInPlaceKeepingEveryOtherLine)
{
    Put(kShippedSettings);
    Write("sys", "x5", "False");
    std::string expected(kShippedSettings);
    expected.replace(expected.find("x5=True"), 7, "x5=False");
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(IniStore, RepeatedWritesKeepOneLinePerKey)
{
    Put(kShippedSettings);
    for (int click = 0; click < 10; ++click) {
        Write("sys", "x7", FlagText(click % 2 == 0));
        Write("sys", "x10", FlagText(click % 2 == 0));
    }
    std::string expected(kShippedSettings);
    expected += "x10=False\r\n";
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(IniStore, AddsAMissingKeyAtTheEndOfItsSectionAndAMissingSectionAtTheEnd)
{
    Put("[a]\r\nk=1\r\n; about b\r\n\r\n[b]\r\nk=2\r\n");
    Write("a", "n", "x");
    Write("c", "k", "3");
    EXPECT_EQ(Bytes(), "[a]\r\nk=1\r\nn=x\r\n; about b\r\n\r\n[b]\r\nk=2\r\n[c]\r\nk=3\r\n");
    Put("[empty]\r\n[b]\r\n");
    Write("empty", "k", "v");
    EXPECT_EQ(Bytes(), "[empty]\r\nk=v\r\n[b]\r\n");
}

TEST_F(IniStore, ADuplicateKeyIsReadAndWrittenAtItsFirstLine)
{
    Put("[sys]\r\nx1=first\r\nX1=second\r\n");
    EXPECT_EQ(Read("sys", "x1"), "first");
    Write("sys", "x1", "new");
    EXPECT_EQ(Bytes(), "[sys]\r\nx1=new\r\nX1=second\r\n");
}

TEST_F(IniStore, ChineseTextIsGbkOnDisk)
{
    Write("sys", "city", "北京");
    EXPECT_EQ(Bytes(), "[sys]\r\ncity=\xB1\xB1\xBE\xA9\r\n");
    EXPECT_EQ(Read("sys", "city"), "北京");
    // A file written by another program, with trail bytes '[', '\' and ']'.
    Put("[\x81\x5B]\r\n\x81\x5C=\x81\x5D\r\n");
    EXPECT_EQ(Read("乕", "乗"), "乚");
    Write("乕", "乗", "中");
    EXPECT_EQ(Bytes(), "[\x81\x5B]\r\n\x81\x5C=\xD6\xD0\r\n");
}

TEST_F(IniStore, ValuesAreTrimmedCutAtNulAndUnquotedAsTheProfileApiDoes)
{
    static constexpr char kFile[] =
        "[sys]\r\n  x1 =  True \t\r\nx2=ab\0cd\r\nx3=\"  q  \"\r\nx4='x\"\r\n";
    Put(std::string_view(kFile, sizeof kFile - 1));
    EXPECT_EQ(Read("sys", "x1"), "True");
    EXPECT_EQ(Read("sys", "x2"), "ab");
    EXPECT_EQ(Read("sys", "x3"), "  q  ");
    EXPECT_EQ(Read("sys", "x4"), "'x\"");
    Write("sys", "x1", std::string_view("False\0junk", 10));
    EXPECT_EQ(Read("sys", "x1"), "False");
    EXPECT_TRUE(Bytes().starts_with("[sys]\r\n  x1 =False\r\nx2=ab")) << Bytes();
}

TEST_F(IniStore, LongValuesAreCutTo32766Characters)
{
    Write("sys", "long", std::string(40000, 'a'));
    EXPECT_EQ(Read("sys", "long"), std::string(32766, 'a'));
    Write("sys", "long", "中" + std::string(40000, 'a'));
    EXPECT_EQ(Read("sys", "long"), "中" + std::string(32765, 'a'));
}

TEST_F(IniStore, CommentsBlankLinesAndOddBytesArePreservedByteForByte)
{
    const std::string before = "; settings\r\n\r\n[other]\r\nk = v ; not a comment\r\n"
                               "\xFF\xFE junk \x81\r\n[sys]\r\n\tx1\t=\tTrue\r\n";
    const std::string after = "  ; tail\r\n\r\n[more]\r\nz=1\r\n";
    Put(before + "x2=True\r\n" + after);
    Write("sys", "x2", "False");
    EXPECT_EQ(Bytes(), before + "x2=False\r\n" + after);
    EXPECT_EQ(Read("other", "k"), "v ; not a comment");
}

TEST_F(IniStore, ReadsAndUpdatesFilesWithAnyLineEnding)
{
    Put("[sys]\nx1=True\nx2=False\n");
    EXPECT_EQ(Read("sys", "x2"), "False");
    Write("sys", "x1", "False");
    EXPECT_EQ(Bytes(), "[sys]\nx1=False\r\nx2=False\n");

    Put("[sys]\r\nx1=True\r\nx2=False");
    EXPECT_EQ(Read("sys", "x2"), "False");
    Write("sys", "x3", "True");
    EXPECT_EQ(Bytes(), "[sys]\r\nx1=True\r\nx2=False\r\nx3=True\r\n");

    Put("[sys]");
    Write("new", "k", "v");
    EXPECT_EQ(Bytes(), "[sys]\r\n[new]\r\nk=v\r\n");
}

TEST_F(IniStore, AByteOrderMarkMeansUtf8)
{
    Put("\xEF\xBB\xBF[Version]\r\nDownName=安装.exe\r\nVersion=2.0");
    EXPECT_EQ(Read("version", "DownName"), "安装.exe");
    EXPECT_EQ(Read("version", "version"), "2.0");
    Write("Version", "DownName", "升级.exe");
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[Version]\r\nDownName=升级.exe\r\nVersion=2.0");
    Put("\xEF\xBB\xBFx=1\r\n");
    Write("s", "k", "v");
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBFx=1\r\n[s]\r\nk=v\r\n");
}

TEST_F(IniStore, AFileThatCannotBeReadOrWrittenIsLeftAlone)
{
    const std::string utf16("\xFF\xFE[\0s\0y\0s\0]\0", 12);
    Put(utf16);
    EXPECT_EQ(Read("sys", "x1"), "");
    EXPECT_FALSE(IniSettings(file_.string()).TryWriteSetting("sys", "x1", "True"));
    EXPECT_EQ(Bytes(), utf16);

    fs::remove(file_);
    fs::create_directory(file_);
    EXPECT_EQ(IniSettings(file_.string()).ReadSetting("sys", "x1", "d"), "d");
    EXPECT_FALSE(IniSettings(file_.string()).TryWriteSetting("sys", "x1", "True"));
    EXPECT_TRUE(fs::is_directory(file_));

    const fs::path elsewhere = folder_ / "missing" / "set.ini";
    EXPECT_FALSE(IniSettings(elsewhere.string()).TryWriteSetting("sys", "x1", "True"));
    EXPECT_FALSE(fs::exists(elsewhere.parent_path()));
}

TEST_F(IniStore, AnUnreadableFileIsNeverReplaced)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads any file";
    }
    Put(kShippedSettings);
    fs::permissions(file_, fs::perms::none);
    EXPECT_FALSE(IniSettings(file_.string()).TryWriteSetting("sys", "x1", "False"));
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Bytes(), kShippedSettings);
}

TEST_F(IniStore, WritesLeaveNoTemporaryFilesAndKeepTheFileMode)
{
    Put(kShippedSettings);
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(IniSettings(file_.string()).TryWriteSetting("sys", "x1", FlagText(i % 2 == 0)));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

using FlagReading = IniFileTest;

TEST_F(FlagReading, OnlyTrueInAnyCaseIsOn)
{
    Put("[sys]\r\nx1=True\r\nx2=true\r\nx3=TRUE\r\nx4=False\r\nx5=1\r\nx6=yes\r\nx7=\r\n"
        "x8= True \r\nx9=Truee\r\n");
    IniSettings settings(file_.string());
    const auto on = [&](std::string_view key) {
        return IsFlagOn(settings.ReadSetting("sys", key, ""));
    };
    EXPECT_TRUE(on("x1"));
    EXPECT_TRUE(on("x2"));
    EXPECT_TRUE(on("x3"));
    EXPECT_TRUE(on("x8"));
    for (std::string_view key : {"x4", "x5", "x6", "x7", "x9", "missing"}) {
        EXPECT_FALSE(on(key)) << key;
    }
    settings.WriteSetting("sys", "x5", FlagText(true));
    settings.WriteSetting("sys", "x1", FlagText(false));
    EXPECT_TRUE(on("x5"));
    EXPECT_FALSE(on("x1"));
    EXPECT_NE(Bytes().find("x5=True\r\n"), std::string::npos);
    EXPECT_NE(Bytes().find("x1=False\r\n"), std::string::npos);
}

using SettingsFiles = IniFileTest;

TEST_F(SettingsFiles, ServerSectionOverridesOnlyTheAddressesItGives)
{
    const ServerAddresses defaults = DefaultServerAddresses();
    IniSettings settings(file_.string());
    EXPECT_EQ(LoadServerAddresses(settings).update, defaults.update);

    Put("[sys]\r\nx1=True\r\n[Server]\r\nhome=\r\nUpdate = http://127.0.0.1:8123 \r\n"
        "probe=http://localhost:8123/probe\r\n");
    const ServerAddresses loaded = LoadServerAddresses(settings);
    EXPECT_EQ(loaded.home, defaults.home);
    EXPECT_EQ(loaded.location, defaults.location);
    EXPECT_EQ(loaded.weather, defaults.weather);
    EXPECT_EQ(loaded.update, "http://127.0.0.1:8123");
    EXPECT_EQ(loaded.probe, "http://localhost:8123/probe");
}

TEST_F(SettingsFiles, VersionFileAsTheServerSendsIt)
{
    Put("[Version]\nVersion=2.3\nDownUrl=http://127.0.0.1:8123/tg/setup.exe\nDownName=setup.exe");
    IniSettings versionFile(file_.string());
    const VersionFileEntries entries = LoadVersionFile(versionFile);
    EXPECT_EQ(entries.version, "2.3");
    EXPECT_EQ(entries.downUrl, "http://127.0.0.1:8123/tg/setup.exe");
    EXPECT_EQ(entries.downName, "setup.exe");
    fs::remove(file_);
    EXPECT_EQ(LoadVersionFile(versionFile).downUrl, "");
}

TEST(SettingsProgramFolder, IsTheFolderOfTheRunningProgram)
{
    const fs::path folder = ProgramFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_FALSE(folder.filename().empty()) << "no trailing separator: " << folder;
    EXPECT_TRUE(fs::exists(folder / "unit_tests")) << folder;
    EXPECT_EQ(SettingsPath(), (folder / "set.ini").string());
    EXPECT_EQ(VersionFilePath(), (folder / "version.ini").string());
    EXPECT_EQ(ProgramFilePath("unit_tests"), (folder / "unit_tests").string());
}

}  // namespace
}  // namespace torvane
