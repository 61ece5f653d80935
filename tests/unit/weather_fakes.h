// Fakes of the weather block's outside world shared by its tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/http_get.h"
#include "common/text_codec.h"

namespace torvane::weather {

// Pages by address, sent in GBK as the public pages are; every address asked is kept.
struct FakeHttp : HttpGet {
    std::map<std::string, std::string> pages;
    std::vector<std::string> asked;
    std::string GetBody(const std::string& url, std::size_t) override {
        asked.push_back(url);
        return Utf8ToGbk(pages[url]);
    }
};

}  // namespace torvane::weather
