// SHA-256 of a file with the platform's hash provider (BCrypt).
#pragma once

#include <optional>
#include <string>

namespace torvane::update::win {

// Lowercase hexadecimal, or nothing when the file cannot be read or the
// provider is missing.
std::optional<std::string> FileSha256(const std::wstring& path);

}  // namespace torvane::update::win
