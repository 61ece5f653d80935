// The statutory days off the calendar follows, and their update: at start-up
// the newer of the copy built into torvane.exe and holidays.txt beside the
// programs; later, in the background, the update server's copy, taken only
// when the release key signed it (its detached "holidays.txt.sig"), it
// parses whole and it was published later than what the window has.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "calendar/component.h"
#include "engine/days_off.h"
#include "common/background_work.h"
#include "common/release_signature.h"

namespace torvane::holidays {

using torvane::DaysOff;
using DaysOffData = std::shared_ptr<const DaysOff>;

// Runs on a worker: the address's whole 2xx body replaces the file at the
// path in one step (ZeqDownLoadFile); true when it did.
using DownloadFile = std::function<bool(const std::string& address, const std::string& path)>;

struct DaysOffPorts {
    BackgroundWork& work;
    DownloadFile download;
    std::shared_ptr<SignatureVerifier> verifier;  // the release key's; used on the worker
    // The window's thread: the window follows these days off from now on.
    std::function<void(DaysOffData)> use;
};

struct DaysOffConfig {
    std::string updateServer;  // its "/tg/holidays.txt" is fetched
    std::string filePath;      // holidays.txt beside the programs
    std::string downloadPath;  // a name of its own beside it, removed after each fetch;
                               // the signature's download is that name and ".sig"
};

inline constexpr std::string_view kDaysOffServerPath = "/tg/holidays.txt";
inline constexpr std::string_view kDaysOffSignatureServerPath = "/tg/holidays.txt.sig";
inline constexpr std::string_view kSignatureSuffix = ".sig";
inline constexpr std::string_view kDaysOffDownloadName = "holidays.download";
inline constexpr std::string_view kDaysOffJob = "holidays";
// WinINet may wait for ever on a server that never answers; the result of a
// fetch that late is not waited for.
inline constexpr int kDaysOffFetchTimeoutMs = 120000;

// The newer of the two texts that parse (a newer one covering fewer years
// does not count as newer); nothing when neither does.
DaysOffData LoadDaysOff(std::string_view embedded, std::string_view filePath);

// The worker's part of a fetch: download the file and its signature, read
// and remove both temporary files; when the release key signed the text, it
// parses whole, is newer than `current` and covers at least as many years, it
// replaces holidays.txt and is returned. Otherwise nothing changes and nothing
// is returned.
DaysOffData FetchNewerDaysOff(const DownloadFile& download, SignatureVerifier& verifier, const DaysOffConfig& config,
                              const DaysOffData& current);

class DaysOffComponent final : public calendar::Component {
public:
    DaysOffComponent(DaysOffPorts ports, DaysOffConfig config, DaysOffData current);

    // Fetches the server's copy in the background; nothing while a fetch runs.
    // The composition root starts it once the version check's download has
    // ended, so the two never compete for the server.
    void Start();

    const DaysOffData& current() const { return current_; }
    bool Fetching() const { return fetching_; }

private:
    DaysOffPorts ports_;
    DaysOffConfig config_;
    DaysOffData current_;
    bool fetching_ = false;
};

}  // namespace torvane::holidays
