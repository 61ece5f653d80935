// A writer killed at any moment must leave a file that still holds every key,
// each with either its old value or one the writer stored.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "common/ini_document.h"
#include "common/ini_settings.h"
#include "tests/unit/temp_folder.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 200;
constexpr int kMaxDelayMicroseconds = 3000;
constexpr int kNewKeys = 20;
constexpr int kMaxWrites = 100000;  // a bound in case the parent is gone
// GBK: "; 中文注释" and a section named "版本".
constexpr std::string_view kComment = "; \xD6\xD0\xCE\xC4\xD7\xA2\xCA\xCD\r\n";
constexpr std::string_view kInitial =
    "[sys]\r\nx1=True\r\nx2=True\r\nx3=True\r\nx4=True\r\nx5=True\r\nx6=True\r\nx7=False\r\n"
    "x8=True\r\nx9=False\r\n; \xD6\xD0\xCE\xC4\xD7\xA2\xCA\xCD\r\n[\xB0\xE6\xB1\xBE]\r\n"
    "version=1.0\r\n";

using Entry = std::pair<std::string, std::string>;  // section, key

std::string ValuePrefix(int round)
{
    return "值" + std::to_string(round) + "-";
}

std::string NewKeyName(int n)
{
    char name[16];
    std::snprintf(name, sizeof name, "n%d", n);
    return name;
}

// Runs in the child until it is killed. Tells the parent once the first
// write is complete, so every round changes the file at least once.
[[noreturn]] void RunWriter(const fs::path& file, int round, unsigned seed, int readyPipe)
{
    static const std::vector<Entry> kTargets = {
        {"sys", "x1"}, {"SYS", "X7"}, {"sys", "x9"}, {"版本", "Version"}, {"new", ""}};
    std::mt19937 random(seed);
    IniSettings settings(file.string());
    for (int write = 0; write < kMaxWrites; ++write) {
        const Entry& target = kTargets[random() % kTargets.size()];
        const int newKey = static_cast<int>(random() % kNewKeys);
        const std::string key = target.second.empty() ? NewKeyName(newKey) : target.second;
        settings.WriteSetting(target.first, key, ValuePrefix(round) + std::to_string(write));
        if (write == 0) {
            const char ready = 1;
            static_cast<void>(::write(readyPipe, &ready, 1));
        }
    }
    ::_exit(0);
}

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Kills one writer at a random moment after its first write.
void KillWriterRandomly(const fs::path& file, int round, std::mt19937& random)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const unsigned seed = random();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        RunWriter(file, round, seed, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    char ready = 0;
    const ssize_t got = ::read(pipeEnds[0], &ready, 1);
    ::close(pipeEnds[0]);
    ::usleep(static_cast<useconds_t>(random() % kMaxDelayMicroseconds));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(got, 1) << "the writer ended before its first write";
}

class SettingsCrash : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(temp_.path().empty()); }

    testing_support::TempFolder temp_{"tv_crash"};
    const fs::path& folder_ = temp_.path();
};

TEST_F(SettingsCrash, AWriterKilledAtRandomMomentsNeverDamagesTheFile)
{
    const fs::path file = folder_ / "set.ini";
    std::ofstream(file, std::ios::binary) << kInitial;

    std::map<Entry, std::string> known;
    for (const char* key : {"x1", "x2", "x3", "x4", "x5", "x6", "x7", "x8", "x9"}) {
        known[{"sys", key}] = "";
    }
    known[{"版本", "version"}] = "";
    for (auto& [entry, value] : known) {
        value = IniSettings(file.string()).ReadSetting(entry.first, entry.second, "");
    }

    std::mt19937 random(4242);
    for (int round = 0; round < kKills; ++round) {
        SCOPED_TRACE(round);
        const std::string before = ReadBytes(file);
        KillWriterRandomly(file, round, random);
        const std::string after = ReadBytes(file);
        ASSERT_NE(after, before);
        ASSERT_TRUE(after.ends_with("\r\n")) << after;
        ASSERT_NE(after.find(kComment), std::string::npos) << after;

        const ini::IniDocument doc = ini::IniDocument::Parse(after);
        for (auto& [entry, value] : known) {
            const std::optional<std::string> now = doc.Find(entry.first, entry.second);
            ASSERT_TRUE(now.has_value()) << entry.first << "/" << entry.second << " lost in\n"
                                         << after;
            ASSERT_TRUE(*now == value || now->starts_with(ValuePrefix(round))) << *now;
            value = *now;
        }
        for (int n = 0; n < kNewKeys; ++n) {
            if (const std::optional<std::string> added = doc.Find("new", NewKeyName(n))) {
                known[{"new", NewKeyName(n)}] = *added;
            }
        }
    }
}

}  // namespace
}  // namespace torvane
