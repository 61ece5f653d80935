// BackgroundWork on Win32: each job's work runs on a std::thread of its own;
// its end comes back to the thread that made the runner as a message to a
// message-only window of the runner's, and time-outs are timers on that
// window. Nothing ever waits: the window's own message loop is the only loop.
#pragma once

#include <windows.h>

#include <memory>

#include "common/background_work.h"
#include "common/job_table.h"

namespace torvane::win {

class BackgroundWorkWin final : public BackgroundWork {
public:
    // Delivers to the calling thread, which must run a message loop. `start`
    // makes the workers' threads (tests pass one that refuses some).
    explicit BackgroundWorkWin(ThreadStart start = StartDetachedThread);
    // Returns at once, also while workers still run: their results are dropped.
    ~BackgroundWorkWin() override;
    BackgroundWorkWin(const BackgroundWorkWin&) = delete;
    BackgroundWorkWin& operator=(const BackgroundWorkWin&) = delete;

    JobId Start(JobOptions options, std::function<void()> work, std::function<void()> deliver,
                std::function<void()> timedOut) override;
    JobId StartReporting(JobOptions options, std::function<void(const PostReport&)> work,
                         std::function<void()> deliver, std::function<void()> timedOut) override;
    void Cancel(JobId id) override;

    // Until Release, started jobs wait for their threads (their time-outs
    // already run): a window's first showing need not share the machine with
    // the fetches its start-up asked for.
    void Hold() { held_ = true; }
    void Release();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void OnJobFinished();
    void OnTimer(UINT_PTR id);
    // Starts the job's work, or parks it until a later try when the system
    // refuses a thread.
    void StartOrPark(JobId id, std::function<void()> work);
    void RetryParked();

    HWND window_ = nullptr;
    JobTable table_;
    std::shared_ptr<FinishedJobs> finished_;
    ThreadStart start_;
    bool held_ = false;
};

}  // namespace torvane::win
