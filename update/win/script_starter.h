// The hand-over to the installer on Win32: the command script is written in
// one step and started hidden through the command interpreter.
#pragma once

#include "update/ports.h"

namespace torvane::update::win {

class CommandScripts final : public ScriptStarter {
public:
    bool WriteScript(std::string_view path, std::string_view bytes) override;
    void DeleteScript(std::string_view path) override;
    bool StartHidden(std::string_view path, std::string_view workingFolder) override;
};

}  // namespace torvane::update::win
