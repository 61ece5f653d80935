// The settings store on a file: each call reads the file, does one lookup or
// one update and writes it back; nothing is kept between calls, so two
// programs sharing the file always see each other's last write.
#pragma once

#include <string>
#include <string_view>

#include "common/settings.h"

namespace torvane {

class IniSettings final : public Settings {
public:
    // `file` is a UTF-8 path.
    explicit IniSettings(std::string file);

    // The default when the file, the section or the key is missing, or the
    // file cannot be read.
    std::string ReadSetting(std::string_view section, std::string_view key,
                            std::string_view defaultValue) override;
    // The outcome is ignored, as the callers want; see TryWriteSetting.
    void WriteSetting(std::string_view section, std::string_view key,
                      std::string_view value) override;

    // False when the file was left unchanged: it exists but cannot be read,
    // it is in an encoding the store does not write, a name cannot be
    // stored, or the new content could not be put in place.
    bool TryWriteSetting(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string file_;
};

}  // namespace torvane
