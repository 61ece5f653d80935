// The almanac command as a user runs it: a range of days, and what it says to
// input it cannot take.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/clsDate.h"

namespace torvane {
namespace {

struct CommandRun {
    int status = -1;
    std::vector<std::string> lines;
};

CommandRun RunAlmanac(const std::string& arguments) {
    const std::string command = std::string(TORVANE_BINARY_DIR) + "/bin/almanac " + arguments + " 2>/dev/null";
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        run.lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) run.lines.push_back(line + "<no line end>");
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(AlmanacCommand, PrintsOneLinePerDayAfterTheHeader) {
    struct Case { const char *from, *to; };
    const Case cases[] = {{"2024-02-01", "2024-03-01"}, {"1900-01-01", "1900-01-03"}, {"2100-12-31", "2100-12-31"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + c.to);
        const CommandRun run = RunAlmanac(std::string(c.from) + " " + c.to);
        ASSERT_EQ(run.status, 0);
        ASSERT_FALSE(run.lines.empty());
        EXPECT_TRUE(run.lines[0].starts_with("date\tyear_pillar\t"));
        int64_t expected = DaysFromCivil(std::stoi(c.from), std::stoi(c.from + 5), std::stoi(c.from + 8));
        const int64_t last = DaysFromCivil(std::stoi(c.to), std::stoi(c.to + 5), std::stoi(c.to + 8));
        ASSERT_EQ(static_cast<int64_t>(run.lines.size()) - 1, last - expected + 1);
        for (size_t i = 1; i < run.lines.size(); ++i, ++expected) {
            const std::string& line = run.lines[i];
            const CivilDate day = CivilFromDays(expected);
            EXPECT_EQ(std::stoi(line.substr(0, 4)), day.year) << line;
            EXPECT_EQ(std::stoi(line.substr(5, 2)), day.month) << line;
            EXPECT_EQ(std::stoi(line.substr(8, 2)), day.day) << line;
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 11) << line;
        }
    }
}

TEST(AlmanacCommand, RefusesWhatItCannotTake) {
    const char* cases[] = {
        "",                          // no dates
        "2024-02-01",                // one date
        "2024-02-01 2024-02-02 x",   // three
        "2024-02-30 2024-03-01",     // no such day
        "2024/02/01 2024-03-01",     // wrong form
        "2024-03-01 2024-02-01",     // backwards
        "1899-12-31 1900-01-02",     // before the almanac's years
        "2100-12-30 2101-01-01",     // after them
    };
    for (const char* arguments : cases) {
        SCOPED_TRACE(arguments);
        const CommandRun run = RunAlmanac(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.lines.empty());
    }
}

}  // namespace
}  // namespace torvane
