// The page fetch of the main window: GetBody on a worker, BytesToBstr, and
// GetYM, which chains them and hands the text back on the window's thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/background_work.h"
#include "common/http_get.h"

namespace torvane::weather {

// The parses need only the start of a page; the rest is not read.
inline constexpr std::size_t kMaxBodyBytes = 1 << 20;

// Bytes of a page in a named character set as UTF-8. "gb2312" (and "gbk",
// "gb18030", "cp936") decode as code page 936, a superset of GB2312; "utf-8"
// as UTF-8; another name as code page 936, the pages' usual set.
std::string BytesToBstr(std::string_view body, std::string_view charset);

// Fetches `url` in the background as a job of `kind` (a newer job of the
// kind supersedes it) and calls `done` on the window's thread with the
// decoded page — with empty text when nothing arrived within `chaoshi`
// seconds; a late answer is dropped.
JobId GetYM(BackgroundWork& work, std::shared_ptr<HttpGet> http, std::string kind, std::string url,
            std::string charset, double chaoshi, std::function<void(std::string)> done);

}  // namespace torvane::weather
