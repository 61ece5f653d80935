#include "update/win/script_starter.h"

#include <windows.h>

#include <string>

#include "common/file_io.h"
#include "common/win/unique.h"
#include "common/win/wide_text.h"

namespace torvane::update::win {

namespace {

std::wstring CommandInterpreter() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ComSpec", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return path;
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    return std::wstring(path, folder < MAX_PATH ? folder : 0) + L"\\cmd.exe";
}

}  // namespace

bool CommandScripts::WriteScript(std::string_view path, std::string_view bytes) {
    return ReplaceFileContents(path, bytes);
}

void CommandScripts::DeleteScript(std::string_view path) { DeleteFileW(Utf8ToWide(path).c_str()); }

bool CommandScripts::StartHidden(std::string_view path, std::string_view workingFolder) {
    const std::wstring interpreter = CommandInterpreter();
    // /d: no AutoRun commands of the user's; the outer quotes are the ones /c
    // strips, so the script's own path keeps its quotes.
    std::wstring commandLine = L"\"" + interpreter + L"\" /d /c \"\"" + Utf8ToWide(path) + L"\"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    const std::wstring folder = Utf8ToWide(workingFolder);
    if (!CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &started))
        return false;
    const torvane::win::UniqueHandle process(started.hProcess);
    const torvane::win::UniqueHandle thread(started.hThread);
    return true;
}

}  // namespace torvane::update::win
