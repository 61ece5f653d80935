// The weather pages the service answers from: one per city, kept 15 minutes,
// fetched once however many callers ask at the same moment, and kept past
// their time when the upstream fails. Pure bookkeeping: the caller fetches,
// waits and passes the time in.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>

namespace torvane::server {

class ForecastCache {
public:
    using Clock = std::chrono::steady_clock;

    struct Policy {
        Clock::duration fresh = std::chrono::minutes(15);
        // After a failed fetch the upstream is left alone this long: callers
        // get the stale page (or none) at once instead of queuing on it.
        Clock::duration backOff = std::chrono::seconds(30);
    };

    enum class Step {
        Serve,  // the page (fresh, or stale while the upstream is failing), or none
        Fetch,  // this caller fetches, then calls Complete
        Wait,   // another caller is fetching: wait for its Complete, then ask Answer
    };
    struct Decision {
        Step step;
        std::optional<std::string> page;  // for Serve
    };

    explicit ForecastCache(Policy policy) : policy_(policy) {}

    Decision Ask(const std::string& city, Clock::time_point now);
    // The fetch of `city` ended: its page, or nothing when it failed.
    void Complete(const std::string& city, std::optional<std::string> page, Clock::time_point now);
    // After a Wait or a Fetch: the newest page there is, fresh or stale.
    std::optional<std::string> Answer(const std::string& city) const;

private:
    struct Entry {
        std::optional<std::string> page;
        Clock::time_point fetched{};
        std::optional<Clock::time_point> failed;
        bool inFlight = false;
    };
    Policy policy_;
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace torvane::server
