#include "calendar/startup.h"

#include "common/program_names.h"

namespace torvane::calendar {

StartAction DecideStart(std::string_view commandLine) {
    const bool blank = commandLine.find_first_not_of(" \t\r\n") == std::string_view::npos;
    return blank ? StartAction::OpenHomePageAndEnd : StartAction::ShowWindow;
}

bool RunMain(std::string_view commandLine, Shell& shell, std::string_view homeUrl) {
    if (DecideStart(commandLine) == StartAction::ShowWindow) return true;
    shell.OpenWebPage(homeUrl);
    return false;
}

std::optional<AutostartValue> MakeAutostartValue(std::string_view exePath) {
    const size_t slash = exePath.find_last_of("\\/");
    const std::string_view file =
        slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
    const size_t dot = file.find_last_of('.');
    const std::string_view stem = dot == std::string_view::npos ? file : file.substr(0, dot);
    if (stem.empty() || exePath.find('"') != std::string_view::npos) return std::nullopt;
    AutostartValue value;
    value.name = std::string(stem);
    value.data.append("\"").append(exePath).append("\" ").append(kAutostartArgument);
    return value;
}

}  // namespace torvane::calendar
