// The process-ending port on Win32 (Toolhelp).
#pragma once

#include "common/ports.h"
#include "common/win/wide_text.h"
#include "processes/win/end_processes.h"

namespace torvane::win {

class ToolhelpProcessEnder final : public ProcessEnder {
public:
    void EndProcessesByName(std::string_view exeName) override {
        win::EndProcessesByName(Utf8ToWide(exeName));
    }
};

}  // namespace torvane::win
