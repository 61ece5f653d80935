#include "update/version_order.h"

#include <algorithm>

namespace torvane::update {
namespace {

bool IsNumber(std::string_view part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// -1, 0, 1 as `a` is below, equal to or above `b`.
int ComparePart(std::string_view a, std::string_view b) {
    if (IsNumber(a) && IsNumber(b)) {
        // As numbers of any length: without leading zeros, the longer is larger.
        a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
        b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
        if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    }
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// The next dotted part, or "0" past the end (2.1 is 2.1.0).
std::string_view NextPart(std::string_view& text) {
    if (text.empty()) return "0";
    const size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    text = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    return part;
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool IsNewerVersion(std::string_view installed, std::string_view remote) {
    installed = Trimmed(installed);
    remote = Trimmed(remote);
    if (remote.empty()) return false;
    if (installed.empty()) return true;
    while (!installed.empty() || !remote.empty()) {
        const int c = ComparePart(NextPart(installed), NextPart(remote));
        if (c != 0) return c < 0;
    }
    return false;
}

}  // namespace torvane::update
