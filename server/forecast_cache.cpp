#include "server/forecast_cache.h"

namespace torvane::server {

ForecastCache::Decision ForecastCache::Ask(const std::string& city, Clock::time_point now) {
    Entry& entry = entries_[city];
    if (entry.page && now - entry.fetched < policy_.fresh) return {Step::Serve, entry.page};
    if (entry.inFlight) return {Step::Wait, std::nullopt};
    if (entry.failed && now - *entry.failed < policy_.backOff) return {Step::Serve, entry.page};
    entry.inFlight = true;
    return {Step::Fetch, std::nullopt};
}

void ForecastCache::Complete(const std::string& city, std::optional<std::string> page, Clock::time_point now) {
    Entry& entry = entries_[city];
    entry.inFlight = false;
    if (page) {
        entry.page = std::move(page);
        entry.fetched = now;
        entry.failed.reset();
    } else {
        entry.failed = now;
    }
}

std::optional<std::string> ForecastCache::Answer(const std::string& city) const {
    const auto it = entries_.find(city);
    return it == entries_.end() ? std::nullopt : it->second.page;
}

}  // namespace torvane::server
