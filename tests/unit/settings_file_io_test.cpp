// The file port under the settings store: whole-file reads that tell a
// missing file from one that is there but cannot be read, and replaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/file_io.h"
#include "tests/unit/temp_folder.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

class FilePort : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp_.path().empty());
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(folder_ / "set.ini", fs::perms::owner_all, ignored);
    }

    std::string Path(std::string_view name) const { return (folder_ / name).string(); }
    static void Put(const std::string& path, std::string_view bytes)
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    // The names in a folder, hidden ones included, sorted.
    static std::vector<std::string> Names(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    testing_support::TempFolder temp_{"tv_file"};
    const fs::path& folder_ = temp_.path();
};

TEST_F(FilePort, ReadsEveryByteOfAFile)
{
    // Longer than one read, with NULs, CRs and GBK bytes.
    std::string bytes;
    for (int i = 0; i < 100000; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    Put(Path("set.ini"), bytes);
    const FileBytes read = ReadFileBytes(Path("set.ini"));
    EXPECT_EQ(read.outcome, ReadOutcome::Read);
    EXPECT_EQ(read.bytes, bytes);

    Put(Path("empty.ini"), "");
    const FileBytes empty = ReadFileBytes(Path("empty.ini"));
    EXPECT_EQ(empty.outcome, ReadOutcome::Read);
    EXPECT_EQ(empty.bytes, "");
}

TEST_F(FilePort, NothingAtThePathIsMissing)
{
    EXPECT_EQ(ReadFileBytes(Path("set.ini")).outcome, ReadOutcome::Missing);
    EXPECT_EQ(ReadFileBytes(Path("gone/set.ini")).outcome, ReadOutcome::Missing);
    Put(Path("plain"), "x");
    EXPECT_EQ(ReadFileBytes(Path("plain/set.ini")).outcome, ReadOutcome::Missing);
}

TEST_F(FilePort, AFolderOrAFileWithoutReadPermissionIsUnreadable)
{
    fs::create_directory(folder_ / "folder");
    const FileBytes folder = ReadFileBytes(Path("folder"));
    EXPECT_EQ(folder.outcome, ReadOutcome::Unreadable);
    EXPECT_EQ(folder.bytes, "");

    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads any file";
    }
    Put(Path("set.ini"), "[sys]\r\nx1=True\r\n");
    fs::permissions(folder_ / "set.ini", fs::perms::none);
    const FileBytes locked = ReadFileBytes(Path("set.ini"));
    EXPECT_EQ(locked.outcome, ReadOutcome::Unreadable);
    EXPECT_EQ(locked.bytes, "");
}

TEST_F(FilePort, ReplaceCreatesAndReplacesFilesUnderUtf8Names)
{
    fs::create_directory(folder_ / "程序");
    const std::string path = Path("程序/设置.ini");
    EXPECT_TRUE(ReplaceFileContents(path, "first"));
    EXPECT_EQ(Bytes(path), "first");
    EXPECT_TRUE(ReplaceFileContents(path, "second"));
    EXPECT_EQ(ReadFileBytes(path).bytes, "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "程序"), fs::directory_iterator()), 1);

    EXPECT_FALSE(ReplaceFileContents(Path("gone/set.ini"), "x"));
    EXPECT_FALSE(fs::exists(folder_ / "gone"));
}

// A replace that fails must not leave its temporary file beside the target:
// every failed save would add one more to the program folder.
TEST_F(FilePort, AReplaceOverAFolderFailsAndLeavesNoTemporaryFile)
{
    fs::create_directory(folder_ / "set.ini");
    Put(Path("set.ini/inside"), "kept");
    EXPECT_FALSE(ReplaceFileContents(Path("set.ini"), "[sys]\r\nx1=True\r\n"));
    EXPECT_EQ(Names(folder_), (std::vector<std::string>{"set.ini"}));
    EXPECT_EQ(Bytes(Path("set.ini/inside")), "kept");
}

TEST_F(FilePort, AReplaceInAReadOnlyFolderFailsAndAddsNothing)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into any folder";
    }
    fs::create_directory(folder_ / "locked");
    Put(Path("locked/set.ini"), "old");
    fs::permissions(folder_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const bool replaced = ReplaceFileContents(Path("locked/set.ini"), "new");
    const std::vector<std::string> names = Names(folder_ / "locked");
    fs::permissions(folder_ / "locked", fs::perms::owner_all);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(names, (std::vector<std::string>{"set.ini"}));
    EXPECT_EQ(Bytes(Path("locked/set.ini")), "old");
}

TEST_F(FilePort, APathWithoutAFolderIsInTheCurrentFolder)
{
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    const bool replaced = ReplaceFileContents("set.ini", "bytes");
    const FileBytes read = ReadFileBytes("set.ini");
    fs::current_path(before);
    EXPECT_TRUE(replaced);
    EXPECT_EQ(read.bytes, "bytes");
    EXPECT_EQ(Bytes(Path("set.ini")), "bytes");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace torvane
