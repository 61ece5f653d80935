// The names of the suite's temporary files: a file replaced in one step is
// first written beside it as "~<name>.<process id>.<counter>.<attempt>.tmp"
// (common/win/file_replace). A run that ended during a transfer or a write
// leaves one behind; the next start removes those whose process is gone.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace torvane {

// The id of the process that made a temporary file of this name; nothing
// for any other name.
std::optional<std::uint32_t> TemporaryFileOwner(std::string_view fileName);

}  // namespace torvane
