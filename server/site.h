// The update site under "/tg/": files served as they are from a folder, with
// the caching a CDN in front needs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvane::server {

// The file a request path under "/tg/" names, relative to the site folder
// ("/tg/" itself is "index.html"); nothing for a path that leaves the folder,
// names a hidden file or is not plain text.
std::optional<std::string> SiteFile(std::string_view path);

// The Content-Type of a site file by its extension (the days-off file, UTF-8,
// by its name).
std::string_view ContentTypeOf(std::string_view file);

// Cache-Control for a site file: the version file, the days-off file and the
// pages change with each release and are kept briefly; an installer's name
// carries its version and never changes.
std::string_view CacheControlOf(std::string_view file);

}  // namespace torvane::server
