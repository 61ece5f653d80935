#include "holidays/days_off_component.h"

#include <optional>

#include "common/file_io.h"
#include "common/settings_keys.h"

namespace torvane::holidays {
namespace {

DaysOffData Share(std::optional<DaysOff> data) {
    return data ? std::make_shared<const DaysOff>(std::move(*data)) : nullptr;
}

int YearCount(const DaysOff& data) { return data.lastYear() - data.firstYear() + 1; }

// A later notice replaces the data in use only when it covers at least as
// many years: a short file would take away the marks of the years it leaves out.
bool IsNewer(const DaysOff& candidate, const DaysOffData& current) {
    return !current || (candidate.IsNewerThan(*current) && YearCount(candidate) >= YearCount(*current));
}

}  // namespace

DaysOffData LoadDaysOff(std::string_view embedded, std::string_view filePath) {
    DaysOffData built = Share(DaysOff::Parse(embedded));
    const FileBytes file = ReadFileBytes(filePath);
    if (file.outcome != ReadOutcome::Read) return built;
    std::optional<DaysOff> beside = DaysOff::Parse(file.bytes);
    // A file an earlier release left beside the programs gives way to the
    // newer copy of the program that runs now.
    return beside && IsNewer(*beside, built) ? Share(std::move(beside)) : built;
}

namespace {

// The body of a download into `path`, which is removed at once.
std::optional<std::string> FetchBytes(const DownloadFile& download, const std::string& url, const std::string& path) {
    if (!download(url, path)) return std::nullopt;
    FileBytes fetched = ReadFileBytes(path);
    RemoveFile(path);
    if (fetched.outcome != ReadOutcome::Read) return std::nullopt;
    return std::move(fetched.bytes);
}

}  // namespace

DaysOffData FetchNewerDaysOff(const DownloadFile& download, SignatureVerifier& verifier, const DaysOffConfig& config,
                              const DaysOffData& current) {
    const std::optional<std::string> text =
        FetchBytes(download, ServerPage(config.updateServer, kDaysOffServerPath), config.downloadPath);
    if (!text) return nullptr;
    const std::optional<std::string> signature =
        FetchBytes(download, ServerPage(config.updateServer, kDaysOffSignatureServerPath),
                   config.downloadPath + std::string(kSignatureSuffix));
    if (!signature || !IsSignedDetached(verifier, *text, *signature)) return nullptr;
    std::optional<DaysOff> data = DaysOff::Parse(*text);
    if (!data || !IsNewer(*data, current)) return nullptr;
    // Kept for the next start even if the file cannot be written now; this
    // run uses it either way.
    ReplaceFileContents(config.filePath, *text);
    return Share(std::move(data));
}

DaysOffComponent::DaysOffComponent(DaysOffPorts ports, DaysOffConfig config, DaysOffData current)
    : ports_(std::move(ports)), config_(std::move(config)), current_(std::move(current)) {}

void DaysOffComponent::Start() {
    if (fetching_) return;
    // The worker gets copies: it may outlive a time-out.
    const JobId job = ports_.work.Run<DaysOffData>(
        JobOptions{std::string(kDaysOffJob), kDaysOffFetchTimeoutMs},
        [download = ports_.download, verifier = ports_.verifier, config = config_, current = current_] {
            return FetchNewerDaysOff(download, *verifier, config, current);
        },
        [this](DaysOffData data) {
            fetching_ = false;
            if (!data) return;
            current_ = std::move(data);
            ports_.use(current_);
        },
        [this] { fetching_ = false; });
    fetching_ = job != kNoJob;
}

}  // namespace torvane::holidays
