// The updater's pure rules: its command line, file names, the installer's
// name check, the command script and the download engines' shared rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "update/download_rules.h"
#include "update/file_names.h"
#include "update/updater_rules.h"

namespace torvane::update {
namespace {

TEST(UpdaterArguments, SplitAtEveryMarkerIntoVersionAndMode) {
    struct Case { const char* text; const char* version; UpdateMode mode; };
    const Case cases[] = {
        {"2.1###shengji###", "2.1", UpdateMode::Upgrade},
        {"2.0###wu###", "2.0", UpdateMode::Newest},
        {"2.0###wu###more###", "2.0", UpdateMode::Newest},
        {"2.0###WU###", "2.0", UpdateMode::Unknown},
        {"3.0###later###", "3.0", UpdateMode::Unknown},
        {"2.1", "2.1", UpdateMode::Unknown},  // no marker: all version
        {"###shengji###", "", UpdateMode::Upgrade},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const UpdaterArguments parsed = SplitArguments(c.text);
        EXPECT_EQ(parsed.version, c.version);
        EXPECT_EQ(parsed.mode, c.mode);
    }
}

TEST(UpdaterTexts, LabelsPercentAndScriptAreExact) {
    EXPECT_EQ(UpgradeOfferText("2.1"), "检测到当前最新版为：2.1版，是否立即升级");
    EXPECT_EQ(NewestVersionText("2.0"), "您当前使用的已经是最新版，版本2.0，无需升级");
    EXPECT_EQ(PercentText(42.5f), "42.50%");
    EXPECT_EQ(PercentText(100.0f), "100.00%");
    // Kilobytes rounded up below one megabyte, megabytes from it on.
    EXPECT_EQ(ReceivedText(1025), "2KB");
    EXPECT_EQ(ReceivedText(1024 * 1024 - 1), "1024KB");
    EXPECT_EQ(ReceivedText(1024 * 1024), "1.0MB");
    EXPECT_EQ(CommandScript("setup.exe", "C:\\Torvane"),
              "start /wait  \"\" \"setup.exe\" /S /D=C:\\Torvane\r\ndel  \"setup.exe.cmd\"\r\n");
}

TEST(UpdaterTexts, TheInstallFolderIsPassedOnlyWhenCmdReadsItAsItIs) {
    struct Case { const char* folder; bool passed; };
    const Case cases[] = {
        {"C:\\Users\\李 雷\\AppData\\Local\\Programs\\Torvane", true},
        {"D:\\Tools (x86)\\日历", true},
        {"D:\\R&D\\Torvane", false},
        {"D:\\100%\\Torvane", false},
        {"D:\\a^b", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string script = CommandScript("setup.exe", c.folder);
        const std::string first = script.substr(0, script.find("\r\n"));
        EXPECT_EQ(first.ends_with(std::string(" /D=") + c.folder), c.passed);
        EXPECT_TRUE(first.starts_with("start /wait  \"\" \"setup.exe\" /S"));
        EXPECT_EQ(script.substr(first.size()), "\r\ndel  \"setup.exe.cmd\"\r\n");
    }
    EXPECT_EQ(PromotionalPage("http://127.0.0.1:8080/"), "http://127.0.0.1:8080/tg/");
}

TEST(FileNames, AddStringAndGetFileNameInPath) {
    EXPECT_EQ(AddString("C:\\Torvane", "\\"), "C:\\Torvane\\");
    EXPECT_EQ(AddString("C:\\Torvane\\", "\\"), "C:\\Torvane\\");
    EXPECT_EQ(AddString("setup.EXE", ".exe"), "setup.EXE");
    struct Case { const char* path; bool withoutExtension; const char* name; };
    const Case cases[] = {
        {"http://127.0.0.1/tg/setup.exe", false, "setup.exe"},
        {"  http://127.0.0.1/tg/setup.exe  ", false, "setup.exe"},
        {"C:\\dir/x\\a.b.exe", true, "a.b"},
        {"http://127.0.0.1/tg/setup", false, ""},  // no "." in the last segment
        {"setup.exe", false, ""},                   // no separator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileNameInPath(c.path, c.withoutExtension), c.name);
    }
}

TEST(DownName, OnlyAPlainProgramNamedByTheAddressIsAccepted) {
    const std::string url = "http://127.0.0.1:8080/tg/setup.exe";
    struct Case { std::string name; std::string url; DownNameCheck check; };
    const std::vector<Case> cases = {
        {"setup.exe", url, DownNameCheck::Accepted},
        {"SETUP.EXE", url, DownNameCheck::Accepted},
        {"日历安装.exe", "https://127.0.0.1/日历安装.exe", DownNameCheck::Accepted},
        {"", url, DownNameCheck::NotAFileName},
        {".exe", "http://127.0.0.1/.exe", DownNameCheck::NotAFileName},
        {"..\\x.exe", "http://127.0.0.1/x.exe", DownNameCheck::NotAFileName},
        {"tg/setup.exe", url, DownNameCheck::NotAFileName},
        {"C:setup.exe", url, DownNameCheck::NotAFileName},
        {"setup.cmd", "http://127.0.0.1/setup.cmd", DownNameCheck::NotAProgram},
        {"a.exe & calc.exe", "http://127.0.0.1/a.exe & calc.exe", DownNameCheck::UnsafeCharacter},
        {"my setup.exe", "http://127.0.0.1/my setup.exe", DownNameCheck::UnsafeCharacter},
        {"a&b.exe", "http://127.0.0.1/a&b.exe", DownNameCheck::UnsafeCharacter},
        {"a%PATH%.exe", "http://127.0.0.1/a%PATH%.exe", DownNameCheck::UnsafeCharacter},
        {"a^b.exe", "http://127.0.0.1/a^b.exe", DownNameCheck::UnsafeCharacter},
        {"(x).exe", "http://127.0.0.1/(x).exe", DownNameCheck::UnsafeCharacter},
        {"a\tb.exe", "http://127.0.0.1/a\tb.exe", DownNameCheck::UnsafeCharacter},
        {"a\xF0\x9F\x98\x80.exe", "http://127.0.0.1/a\xF0\x9F\x98\x80.exe", DownNameCheck::UnsafeCharacter},
        {"بيان.exe", "http://127.0.0.1/بيان.exe", DownNameCheck::NotInCodePage},
        {"torvane-setup_2.1.exe", "http://127.0.0.1/torvane-setup_2.1.exe", DownNameCheck::Accepted},
        {"Календарь.exe", "http://127.0.0.1/Календарь.exe", DownNameCheck::Accepted},
        {"ｓｅｔｕｐ１.exe", "http://127.0.0.1/ｓｅｔｕｐ１.exe", DownNameCheck::Accepted},
        {"set.ini,setup.exe", "http://127.0.0.1/set.ini,setup.exe", DownNameCheck::UnsafeCharacter},
        {"a;b.exe", "http://127.0.0.1/a;b.exe", DownNameCheck::UnsafeCharacter},
        {"a=b.exe", "http://127.0.0.1/a=b.exe", DownNameCheck::UnsafeCharacter},
        {"a b.exe", "http://127.0.0.1/a b.exe", DownNameCheck::UnsafeCharacter},
        {"日历，安装.exe", "http://127.0.0.1/日历，安装.exe", DownNameCheck::UnsafeCharacter},
        {"a\xC2\xA0" "b.exe", "http://127.0.0.1/a\xC2\xA0" "b.exe", DownNameCheck::UnsafeCharacter},  // no-break space
        {"a*.exe", "http://127.0.0.1/a*.exe", DownNameCheck::UnsafeCharacter},
        {"a'b.exe", "http://127.0.0.1/a'b.exe", DownNameCheck::UnsafeCharacter},
        {"other.exe", url, DownNameCheck::NotTheDownload},
        {"setup.exe", "http://127.0.0.1/tg/setup.exe?v=2", DownNameCheck::NotTheDownload},
        {"setup.exe", "file:///C:/setup.exe", DownNameCheck::NotWebAddress},
        {"setup.exe", "\\\\server\\share\\setup.exe", DownNameCheck::NotWebAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " from " + c.url);
        EXPECT_EQ(CheckDownName(c.name, c.url), c.check);
    }
}

TEST(DownloadRules, AddressesStatusesAndLengths) {
    for (const char* address : {"http://127.0.0.1/a", "HTTPS://127.0.0.1:9/a.exe"}) {
        EXPECT_TRUE(IsDownloadAddress(address)) << address;
    }
    for (const char* address : {"ftp://127.0.0.1/a", "http://", "http:///a", "127.0.0.1/a", "file:///a"}) {
        EXPECT_FALSE(IsDownloadAddress(address)) << address;
    }
    EXPECT_TRUE(IsSuccessStatus(200) && IsSuccessStatus(206));
    EXPECT_FALSE(IsSuccessStatus(404) || IsSuccessStatus(500) || IsSuccessStatus(302));
    EXPECT_EQ(ParseDecimal(" 1000 "), 1000);
    EXPECT_EQ(ParseDecimal("10x"), std::nullopt);
    EXPECT_EQ(ParseDecimal(""), std::nullopt);
    EXPECT_EQ(ContentLengthOf("HTTP/1.1 200 OK\r\ncontent-LENGTH: 5242880\r\nX: 1\r\n\r\n"), 5242880);
    EXPECT_EQ(ContentLengthOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"), std::nullopt);
}

TEST(DownloadRules, ABodyIsWholeOnlyWithAPositiveLengthFullyReceived) {
    EXPECT_EQ(JudgeBody(1000, 1000), DownloadOutcome::Done);
    EXPECT_EQ(JudgeBody(1000, 500), DownloadOutcome::Cut);
    EXPECT_EQ(JudgeBody(0, 0), DownloadOutcome::Failed);
    EXPECT_EQ(JudgeBody(std::nullopt, 20), DownloadOutcome::Failed);
    // A chunked answer is judged by its digest once it has ended.
    EXPECT_EQ(JudgeBody(std::nullopt, 20, true), DownloadOutcome::Done);
    EXPECT_EQ(JudgeBody(std::nullopt, 0, true), DownloadOutcome::Failed);
    EXPECT_EQ(JudgeBody(1000, 500, true), DownloadOutcome::Cut);
}

TEST(DownloadRules, RateIsKilobytesPerSecondSinceTheLastReport) {
    EXPECT_EQ(TransferRate(1000, 2048), 2);
    EXPECT_EQ(TransferRate(500, 64 * 1024), 128);
    EXPECT_EQ(TransferRate(0, 8192), 0);  // two reports within one millisecond
    EXPECT_EQ(TransferRate(100, -5), 0);
}

TEST(DownloadRules, StrFromPtrReadsUtf16OrTheCodePage) {
    const char16_t wide[] = u"正在下载 setup.exe";
    const char gbk[] = "\xd5\xfd\xd4\xda";  // 正在
    EXPECT_EQ(StrFromPtr(wide, true), "正在下载 setup.exe");
    EXPECT_EQ(StrFromPtr(gbk, false), "正在");
    EXPECT_EQ(StrFromPtr(nullptr, true), "");
}

TEST(DownloadRules, Sha256IsSixtyFourHexDigits) {
    const std::string upper(64, 'A');
    EXPECT_EQ(NormalizeSha256(upper), std::string(64, 'a'));
    EXPECT_EQ(NormalizeSha256(std::string(63, 'a')), std::nullopt);
    EXPECT_EQ(NormalizeSha256(std::string(65, 'a')), std::nullopt);
    EXPECT_EQ(NormalizeSha256(std::string(63, 'a') + "g"), std::nullopt);
}

// A body handed over in the blocks the test chose; a failed read ends it.
struct Body : BodySource {
    std::vector<std::optional<std::string>> blocks;
    size_t next = 0;
    std::optional<size_t> Read(char* buffer, size_t capacity) override {
        if (next == blocks.size()) return 0;
        const std::optional<std::string>& block = blocks[next++];
        if (!block) return std::nullopt;
        EXPECT_LE(block->size(), capacity);
        block->copy(buffer, block->size());
        return block->size();
    }
};

struct File : BodySink {
    std::string bytes;
    bool full = false;
    bool Write(const char* data, size_t count) override {
        if (full) return false;
        bytes.append(data, count);
        return true;
    }
};

TEST(CopyBody, WritesEachBlockAndEndsByTheBodyRules) {
    struct Case {
        const char* name;
        std::vector<std::optional<std::string>> blocks;
        std::optional<int64_t> announced;
        bool diskFull;
        int stopAfterBlocks;  // 0: never
        DownloadOutcome outcome;
        const char* written;
    };
    const Case cases[] = {
        {"whole", {"abc", "de"}, 5, false, 0, DownloadOutcome::Done, "abcde"},
        {"cut short", {"abc"}, 5, false, 0, DownloadOutcome::Cut, "abc"},
        {"more than announced", {"abc", "def"}, 5, false, 0, DownloadOutcome::Cut, "abcdef"},
        {"read fails", {"abc", std::nullopt}, 5, false, 0, DownloadOutcome::Cut, "abc"},
        {"no length", {"abc"}, std::nullopt, false, 0, DownloadOutcome::Failed, "abc"},
        {"disk full", {"abc"}, 3, true, 0, DownloadOutcome::NotSaved, ""},
        {"aborted", {"abc", "de"}, 5, false, 1, DownloadOutcome::Aborted, "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Body body;
        body.blocks = c.blocks;
        File file;
        file.full = c.diskFull;
        std::vector<int64_t> totals;
        const DownloadOutcome outcome = CopyBody(body, file, c.announced, [&](int64_t total) {
            totals.push_back(total);
            return c.stopAfterBlocks == 0 || static_cast<int>(totals.size()) < c.stopAfterBlocks;
        });
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(file.bytes, c.written);
    }
}

TEST(CopyBody, ABodyWithoutALengthIsTakenOnlyWithinTheLimitItsCallerSets) {
    struct Case { const char* name; std::vector<std::optional<std::string>> blocks;
                  std::optional<int64_t> limit; DownloadOutcome outcome; };
    const Case cases[] = {
        {"no limit", {"abc"}, std::nullopt, DownloadOutcome::Failed},
        {"within it", {"abc", "de"}, 8, DownloadOutcome::Done},
        {"past it", {"abcde", "fghij"}, 8, DownloadOutcome::Cut},
        {"nothing came", {}, 8, DownloadOutcome::Failed},
        {"read fails", {"abc", std::nullopt}, 8, DownloadOutcome::Cut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Body body;
        body.blocks = c.blocks;
        File file;
        EXPECT_EQ(CopyBody(body, file, std::nullopt, {}, c.limit), c.outcome);
    }
}

}  // namespace
}  // namespace torvane::update
