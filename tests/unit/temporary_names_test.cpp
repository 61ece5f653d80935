// Which files a start may take for an ended run's temporary files.
#include <gtest/gtest.h>

#include "common/temporary_names.h"

namespace torvane {
namespace {

TEST(TemporaryNames, OnlyTheSuitesOwnNamingNamesAnOwner) {
    struct Case { const char* name; std::optional<std::uint32_t> owner; };
    const Case cases[] = {
        {"~version.ini.1234.1.0.tmp", 1234},
        {"~torvane-setup-2.1.exe.88.3.15.tmp", 88},
        {"~holidays.download.sig.4294967295.1.0.tmp", 4294967295u},
        {"~日历.exe.7.1.0.tmp", 7},
        {"~version.ini.4294967296.1.0.tmp", std::nullopt},  // not a process id
        {"~version.ini.12.1.tmp", std::nullopt},            // a number short
        {"~.12.1.0.tmp", std::nullopt},                     // nothing it replaced
        {"~$report.docx.tmp", std::nullopt},                // another program's
        {"version.ini.12.1.0.tmp", std::nullopt},
        {"~version.ini.12.1.0.TMP.bak", std::nullopt},
        {"~version.ini.1a.1.0.tmp", std::nullopt},
        {"~version.ini..1.0.tmp", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TemporaryFileOwner(c.name), c.owner);
    }
}

}  // namespace
}  // namespace torvane
