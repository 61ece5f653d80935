// The calendar's start decision and its start-with-Windows value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/ports.h"

namespace torvane::calendar {

enum class StartAction : uint8_t { OpenHomePageAndEnd, ShowWindow };

// Only whether the command line (without the program path) is empty counts;
// blanks alone count as empty.
StartAction DecideStart(std::string_view commandLine);

// Main: with an empty command line opens the home page and returns false (the
// program ends without a window); otherwise returns true (make the window).
bool RunMain(std::string_view commandLine, Shell& shell, std::string_view homeUrl);

struct AutostartValue {
    std::string name;  // the executable's name without extension
    std::string data;  // "\"<full path>\" qidong"
    friend bool operator==(const AutostartValue&, const AutostartValue&) = default;
};

// The value for the executable at this full path; nothing when the path
// names no file.
std::optional<AutostartValue> MakeAutostartValue(std::string_view exePath);

}  // namespace torvane::calendar
