// Which of two version texts is newer: dotted numbers compared part by part
// (2.10 > 2.9, 2.1.1 > 2.1, 2.1 = 2.1.0); a part that is not a number
// compares as text. Character by character, release 10 would sort before 9.
#pragma once

#include <string_view>

namespace torvane::update {

// True when `remote` is a later release than `installed`. An empty remote is
// never newer; an empty installed version is older than any other.
bool IsNewerVersion(std::string_view installed, std::string_view remote);

}  // namespace torvane::update
