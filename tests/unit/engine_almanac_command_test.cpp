// The almanac command as a user runs it: a range of days, and what it says to
// input it cannot take.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/clsDate.h"

namespace torvane {
namespace {

std::string Iso(const CivilDate& d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

// The command's exit code and its output lines.
int RunAlmanac(const std::string& arguments, std::vector<std::string>& lines) {
    const std::string command = std::string(TORVANE_BINARY_DIR) + "/bin/almanac " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c == '\n') lines.push_back(std::exchange(line, {}));
        else line += static_cast<char>(c);
    }
    if (!line.empty()) lines.push_back(line + "<no line end>");
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AlmanacCommand, PrintsOneLinePerDayAfterTheHeader) {
    // A leap February and the day after it.
    std::vector<std::string> lines;
    ASSERT_EQ(RunAlmanac("2024-02-01 2024-03-01", lines), 0);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_TRUE(lines[0].starts_with("date\tyear_pillar\t"));
    const int64_t first = DaysFromCivil(2024, 2, 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with(Iso(CivilFromDays(first + static_cast<int64_t>(i) - 1)) + "\t"));
        EXPECT_EQ(std::ranges::count(lines[i], '\t'), 11) << lines[i];
    }
}

TEST(AlmanacCommand, RefusesWhatItCannotTake) {
    for (const char* arguments : {"", "2024-02-01", "2024-02-01 2024-02-02 x", "2024-02-30 2024-03-01",
                                  "2024/02/01 2024-03-01", "2024-03-01 2024-02-01", "1899-12-31 1900-01-02",
                                  "2100-12-30 2101-01-01"}) {
        std::vector<std::string> lines;
        EXPECT_EQ(RunAlmanac(arguments, lines), 2) << arguments;
        EXPECT_TRUE(lines.empty()) << arguments;
    }
}

}  // namespace
}  // namespace torvane
