// The settings store on a file: each call reads the file, does one lookup or
// one update and writes it back; nothing is kept between calls, so two
// programs sharing the file always see each other's last write. Only a
// snapshot, asked for while a program starts, keeps the file for a moment.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/ini_document.h"
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

    // From the next read until EndSnapshot, reads look at the file as it was
    // then (a write through this store reads it again): start-up reads a
    // dozen keys from one consistent file, opened once.
    void BeginSnapshot() { snapshotting_ = true; }
    void EndSnapshot();

private:
    struct Snapshot {
        bool read = false;  // false: missing or unreadable, every key is its default
        ini::IniDocument doc;
    };
    Snapshot ReadSnapshot() const;

    std::string file_;
    bool snapshotting_ = false;
    std::optional<Snapshot> snapshot_;
};

}  // namespace torvane
