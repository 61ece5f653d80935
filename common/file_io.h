// Replaces a file's whole content so that a reader, a crash or a power cut
// sees either the old content or the new one, never a mix or a cut file.
#pragma once

#include <filesystem>
#include <string_view>

namespace torvane {

// Writes `bytes` to a new file in the target's folder, flushes it to disk and
// moves it over the target in one step. Creates the target when missing.
// Returns false when the target was left as it was.
bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes);

}  // namespace torvane
