// Background work for models: a job runs on a worker thread and its result
// comes back to the window's thread as one more event, so a window never
// waits on the network or the disk. The Win32 runner is
// common/win/background_work_win.h; unit tests use FakeBackgroundWork.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace torvane {

using JobId = std::uint64_t;
inline constexpr JobId kNoJob = 0;

struct JobOptions {
    // Starting a job of a non-empty kind supersedes the running job of that
    // kind: its result is dropped silently (a newer weather request makes the
    // older one's answer stale).
    std::string kind;
    // After this long without a result the job is abandoned: `timedOut` runs
    // and a late result is dropped. Zero or less waits for ever.
    int timeoutMs = 0;
};

// Hands a report from a job's work to the window's thread (a download's
// progress). The report runs there later, in the order posted and before the
// job's result, and only while the job is live: a superseded, cancelled or
// timed-out job's reports are dropped. Any thread may call it, at any time,
// also once the runner is gone.
using PostReport = std::function<void(std::function<void()> report)>;

// Every callback runs on the thread that made the runner, never inside
// Start or Cancel; Start and Cancel are called on that thread only. A
// callback may start or cancel jobs, and may destroy the runner.
class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;

    // `work` runs on a worker thread; when it returns, `deliver` runs on the
    // window's thread, unless the job was superseded, cancelled or timed out
    // meanwhile. `deliver` and `timedOut` never leave the window's thread, so
    // they may hold anything that thread owns. A `work` that throws ends the
    // job as a time-out does: no result came. Returns kNoJob, and runs
    // nothing, when the runner cannot run jobs.
    virtual JobId Start(JobOptions options, std::function<void()> work, std::function<void()> deliver,
                        std::function<void()> timedOut) = 0;

    // As Start, for work that reports to the window's thread while it runs.
    virtual JobId StartReporting(JobOptions options, std::function<void(const PostReport&)> work,
                                 std::function<void()> deliver, std::function<void()> timedOut) = 0;

    // Drops the job silently: neither its result nor its time-out arrives.
    // Nothing happens for a job that already ended.
    virtual void Cancel(JobId id) = 0;

    // The typed forms: `work` computes a value on the worker, `done`
    // receives it on the window's thread.
    template <class R>
    JobId Run(JobOptions options, std::function<R()> work, std::function<void(R)> done,
              std::function<void()> timedOut = {})
    {
        return RunReporting<R>(
            std::move(options), [work = std::move(work)](const PostReport&) { return work(); },
            std::move(done), std::move(timedOut));
    }

    template <class R>
    JobId RunReporting(JobOptions options, std::function<R(const PostReport&)> work,
                       std::function<void(R)> done, std::function<void()> timedOut = {})
    {
        static_assert(!std::is_void_v<R>, "a job hands back a value");
        // The worker writes the slot before it reports; the window's thread
        // reads it only after the report, so the two never overlap.
        auto slot = std::make_shared<std::optional<R>>();
        return StartReporting(
            std::move(options),
            [slot, work = std::move(work)](const PostReport& post) { slot->emplace(work(post)); },
            [slot, done = std::move(done)] {
                if (*slot && done) {
                    done(std::move(**slot));
                }
            },
            std::move(timedOut));
    }
};

}  // namespace torvane
