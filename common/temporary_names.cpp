#include "common/temporary_names.h"

#include <array>

namespace torvane {
namespace {

constexpr std::string_view kPrefix = "~";
constexpr std::string_view kSuffix = ".tmp";
constexpr size_t kNumbers = 3;  // process id, counter, attempt
constexpr size_t kMaxDigits = 10;

// A decimal of up to ten digits that fits 32 bits, else nothing.
std::optional<std::uint32_t> Number(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::uint32_t> TemporaryFileOwner(std::string_view fileName) {
    if (!fileName.starts_with(kPrefix) || !fileName.ends_with(kSuffix)) return std::nullopt;
    std::string_view rest = fileName.substr(kPrefix.size(), fileName.size() - kPrefix.size() - kSuffix.size());
    // The three numbers at the end, the last first.
    std::array<std::uint32_t, kNumbers> numbers{};
    for (size_t i = kNumbers; i-- > 0;) {
        const size_t dot = rest.rfind('.');
        if (dot == std::string_view::npos) return std::nullopt;
        const std::optional<std::uint32_t> value = Number(rest.substr(dot + 1));
        if (!value) return std::nullopt;
        numbers[i] = *value;
        rest = rest.substr(0, dot);
    }
    // What was replaced has a name of its own.
    if (rest.empty()) return std::nullopt;
    return numbers[0];
}

}  // namespace torvane
