#include "server/site.h"

#include <array>
#include <utility>

#include "server/query.h"

namespace torvane::server {
namespace {

constexpr std::string_view kPrefix = "/tg/";
constexpr std::size_t kMaxPath = 256;

std::string_view Extension(std::string_view file) {
    const std::size_t slash = file.rfind('/');
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return file.substr(dot);
}

}  // namespace

std::optional<std::string> SiteFile(std::string_view path) {
    if (!path.starts_with(kPrefix) || path.size() > kMaxPath) return std::nullopt;
    auto decoded = PercentDecode(path.substr(kPrefix.size()));
    if (!decoded) return std::nullopt;
    std::string file = std::move(*decoded);
    if (file.empty() || file.back() == '/') file += "index.html";
    std::string_view rest = file;
    // Every segment must be a plain name: no "..", no hidden file, no empty one.
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        if (segment.empty() || segment.front() == '.') return std::nullopt;
        for (unsigned char c : segment) {
            if (c < 0x20 || c == 0x7F || c == '\\' || c == ':') return std::nullopt;
        }
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    return file;
}

std::string_view ContentTypeOf(std::string_view file) {
    // The version file is GBK as the calendar writes its own files; the
    // days-off file is UTF-8 (the form the days-off parse reads). A proxy or
    // CDN that recodes text by its declared charset must not be misled.
    const std::size_t slash = file.rfind('/');
    if (file.substr(slash == std::string_view::npos ? 0 : slash + 1) == "holidays.txt") {
        return "text/plain; charset=utf-8";
    }
    constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kTypes = {{
        {".html", "text/html; charset=utf-8"},
        {".htm", "text/html; charset=utf-8"},
        {".txt", "text/plain; charset=gbk"},
        {".ini", "text/plain; charset=gbk"},
        {".css", "text/css"},
        {".png", "image/png"},
        {".gif", "image/gif"},
        {".exe", "application/octet-stream"},
        {".sig", "application/octet-stream"},
    }};
    const std::string_view extension = Extension(file);
    for (const auto& [ext, type] : kTypes) {
        if (ext == extension) return type;
    }
    return "application/octet-stream";
}

std::string_view CacheControlOf(std::string_view file) {
    if (Extension(file) == ".exe") return "public, max-age=31536000, immutable";
    if (Extension(file) == ".png" || Extension(file) == ".gif" || Extension(file) == ".css") {
        return "public, max-age=86400";
    }
    return "public, max-age=300";
}

}  // namespace torvane::server
