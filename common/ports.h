// What the programs need from the platform, shared by every window and
// program. The Win32 adapters live in common/win/ (process ending in
// processes/win/); unit tests implement them with fakes. Texts are UTF-8.
#pragma once

#include <string_view>

namespace torvane {

struct LocalDateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The one source of "now".
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens an address with the shell's "Open" verb; the outcome is not reported.
    virtual void OpenWebPage(std::string_view address) = 0;
};

// The start-with-Windows value under the current user's Run key. A refused
// write or delete returns false; callers carry on either way.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool WriteRunValue(std::string_view valueName, std::string_view data) = 0;
    virtual bool DeleteRunValue(std::string_view valueName) = 0;
};

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts a program in a normal window with the focus and returns at
    // once; false when it could not be started.
    virtual bool StartProgram(std::string_view exePath, std::string_view arguments) = 0;
};

class ProcessEnder {
public:
    virtual ~ProcessEnder() = default;
    // Ends every process with this executable name (any letter case). Ending
    // the caller's own name returns only if the caller could not be ended.
    virtual void EndProcessesByName(std::string_view exeName) = 0;
};

}  // namespace torvane
