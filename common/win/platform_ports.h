// The shared platform ports on Win32: local clock, shell, program start,
// Run-key autostart.
#pragma once

#include <windows.h>

#include "common/ports.h"

namespace torvane::win {

class LocalClock final : public Clock {
public:
    LocalDateTime Now() override;
};

class ShellOpener final : public Shell {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void OpenWebPage(std::string_view address) override;

private:
    HWND owner_ = nullptr;
};

// CreateProcess with the program's own folder as the working folder.
class ProcessStarter final : public ProgramStarter {
public:
    bool StartProgram(std::string_view exePath, std::string_view arguments) override;
};

// The value under the current user's Run key: writable without
// administrator rights.
class RunKeyAutostart final : public Autostart {
public:
    bool WriteRunValue(std::string_view valueName, std::string_view data) override;
    bool DeleteRunValue(std::string_view valueName) override;
};

}  // namespace torvane::win
