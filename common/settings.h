// The settings store: "set.ini" (and "version.ini") beside the programs.
// Texts are UTF-8 in memory and GBK on disk.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// One rule for every reader of a flag: on only for "True" in any letter case.
bool IsFlagOn(std::string_view text);
// The text a writer stores for a flag.
std::string_view FlagText(bool on);

// The settings port the models talk to; IniSettings is the real one, tests
// use an in-memory fake.
class Settings {
public:
    virtual ~Settings() = default;
    virtual std::string ReadSetting(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) = 0;
    virtual void WriteSetting(std::string_view section, std::string_view key,
                              std::string_view value) = 0;
};

}  // namespace torvane
