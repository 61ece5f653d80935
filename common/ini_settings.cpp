#include "common/ini_settings.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>

#include "common/file_replace.h"
#include "common/ini_document.h"

namespace torvane {
namespace {

enum class LoadStatus { Loaded, Missing, Failed };

LoadStatus LoadFile(const std::filesystem::path& file, std::string& bytes)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return LoadStatus::Missing;
    }
    if (error || std::filesystem::is_directory(status)) {
        return LoadStatus::Failed;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return LoadStatus::Failed;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? LoadStatus::Failed : LoadStatus::Loaded;
}

}  // namespace

IniSettings::IniSettings(std::filesystem::path file) : file_(std::move(file)) {}

std::string IniSettings::ReadSetting(std::string_view section, std::string_view key,
                                     std::string_view defaultValue)
{
    std::string bytes;
    if (LoadFile(file_, bytes) != LoadStatus::Loaded) {
        return std::string(defaultValue);
    }
    const std::optional<std::string> value = ini::IniDocument::Parse(bytes).Find(section, key);
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
    std::string bytes;
    const LoadStatus status = LoadFile(file_, bytes);
    // Never replace a file that exists but could not be read: its content
    // would be lost.
    if (status == LoadStatus::Failed) {
        return false;
    }
    ini::IniDocument doc = ini::IniDocument::Parse(bytes);
    if (!doc.Set(section, key, value)) {
        return false;
    }
    std::string updated = doc.Serialize();
    if (status == LoadStatus::Loaded && updated == bytes) {
        return true;
    }
    return ReplaceFileContents(file_, updated);
}

}  // namespace torvane
