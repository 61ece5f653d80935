#include "common/ini_settings.h"

#include <optional>
#include <utility>

#include "common/file_io.h"
#include "common/ini_document.h"

namespace torvane {

IniSettings::IniSettings(std::string file) : file_(std::move(file)) {}

IniSettings::Snapshot IniSettings::ReadSnapshot() const
{
    const FileBytes file = ReadFileBytes(file_);
    if (file.outcome != ReadOutcome::Read) {
        return {};
    }
    return {true, ini::IniDocument::Parse(file.bytes)};
}

void IniSettings::EndSnapshot()
{
    snapshotting_ = false;
    snapshot_.reset();
}

std::string IniSettings::ReadSetting(std::string_view section, std::string_view key,
                                     std::string_view defaultValue)
{
    std::optional<Snapshot> fresh;
    if (!snapshotting_) {
        fresh = ReadSnapshot();
    } else if (!snapshot_) {
        snapshot_ = ReadSnapshot();
    }
    const Snapshot& file = snapshotting_ ? *snapshot_ : *fresh;
    const std::optional<std::string> value = file.read ? file.doc.Find(section, key) : std::nullopt;
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
    snapshot_.reset();
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
