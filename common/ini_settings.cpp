#include "common/ini_settings.h"

#include <optional>
#include <utility>

#include "common/file_io.h"
#include "common/ini_document.h"

namespace torvane {

IniSettings::IniSettings(std::string file) : file_(std::move(file)) {}

std::string IniSettings::ReadSetting(std::string_view section, std::string_view key,
                                     std::string_view defaultValue)
{
    const FileBytes file = ReadFileBytes(file_);
    if (file.outcome != ReadOutcome::Read) {
        return std::string(defaultValue);
    }
    const std::optional<std::string> value =
        ini::IniDocument::Parse(file.bytes).Find(section, key);
    return value ? *value : std::string(defaultValue);
}

void IniSettings::WriteSetting(std::string_view section, std::string_view key,
                               std::string_view value)
{
    TryWriteSetting(section, key, value);
}

bool IniSettings::TryWriteSetting(std::string_view section, std::string_view key,
                                  std::string_view value)
{
    const FileBytes file = ReadFileBytes(file_);
    // Never replace a file that exists but could not be read: its content
    // would be lost.
    if (file.outcome == ReadOutcome::Unreadable) {
        return false;
    }
    ini::IniDocument doc = ini::IniDocument::Parse(file.bytes);
    if (!doc.Set(section, key, value)) {
        return false;
    }
    std::string updated = doc.Serialize();
    if (file.outcome == ReadOutcome::Read && updated == file.bytes) {
        return true;
    }
    return ReplaceFileContents(file_, updated);
}

}  // namespace torvane
