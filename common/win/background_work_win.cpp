#include "common/win/background_work_win.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "common/win/window_class.h"

namespace torvane::win {
namespace {

constexpr wchar_t kWindowClass[] = L"TorvaneBackgroundWork";
// One message per finished job or report; they wait in FinishedJobs.
constexpr UINT kJobFinished = WM_APP + 1;

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassOnce(wc);
}

// A job's time-out timer has the job's id: ids are never reused and count
// up from 1, so they never reach the one other timer, the retry of parked
// work.
constexpr UINT_PTR kRetryTimer = ~UINT_PTR{0};
// How soon work the system refused a thread for is tried again.
constexpr UINT kRetryMs = 200;

UINT_PTR TimerOf(JobId id)
{
    return static_cast<UINT_PTR>(id);
}

UINT TimerPeriod(int timeoutMs)
{
    return static_cast<UINT>(std::clamp(timeoutMs, static_cast<int>(USER_TIMER_MINIMUM), INT_MAX));
}

}  // namespace

BackgroundWorkWin::BackgroundWorkWin(ThreadStart start) : start_(std::move(start))
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, WindowProc);
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                              this);
    // A worker wakes the window with a posted message: posting never waits
    // for this thread, and a window that is gone simply drops it.
    const HWND window = window_;
    finished_ = std::make_shared<FinishedJobs>(
        [window] { PostMessageW(window, kJobFinished, 0, 0); });
}

BackgroundWorkWin::~BackgroundWorkWin()
{
    // After Close no worker posts any more, so the window can go; its timers
    // and any messages still queued go with it.
    finished_->Close();
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

JobId BackgroundWorkWin::Start(JobOptions options, std::function<void()> work,
                               std::function<void()> deliver, std::function<void()> timedOut)
{
    return StartReporting(
        std::move(options), [work = std::move(work)](const PostReport&) { work(); },
        std::move(deliver), std::move(timedOut));
}

JobId BackgroundWorkWin::StartReporting(JobOptions options,
                                        std::function<void(const PostReport&)> work,
                                        std::function<void()> deliver,
                                        std::function<void()> timedOut)
{
    if (!window_) {
        return kNoJob;
    }
    const int timeoutMs = options.timeoutMs;
    const JobTable::Added added = table_.Add(options, std::move(deliver), std::move(timedOut));
    if (added.superseded != kNoJob) {
        KillTimer(window_, TimerOf(added.superseded));
    }
    if (timeoutMs > 0) {
        SetTimer(window_, TimerOf(added.id), TimerPeriod(timeoutMs), nullptr);
    }
    StartOrPark(added.id,
                [work = std::move(work), post = PosterFor(finished_, added.id)] { work(post); });
    return added.id;
}

void BackgroundWorkWin::StartOrPark(JobId id, std::function<void()> work)
{
    if (held_) {
        table_.Park(id, std::move(work));
        return;
    }
    if (!StartWorker(finished_, id, work, start_)) {
        // Its result is not lost: it waits for a thread, or for its time-out.
        table_.Park(id, std::move(work));
        SetTimer(window_, kRetryTimer, kRetryMs, nullptr);
    }
}

void BackgroundWorkWin::RetryParked()
{
    KillTimer(window_, kRetryTimer);
    for (auto& [id, work] : table_.TakeParked()) {
        StartOrPark(id, std::move(work));
    }
}

void BackgroundWorkWin::Release()
{
    held_ = false;
    RetryParked();
}

void BackgroundWorkWin::Cancel(JobId id)
{
    if (table_.Drop(id)) {
        KillTimer(window_, TimerOf(id));
    }
}

// Each callback is the last thing a handler does: it may destroy the runner.
void BackgroundWorkWin::OnJobFinished()
{
    std::optional<FinishedJobs::Finished> finished = finished_->Take();
    if (!finished) {
        return;
    }
    if (finished->report) {
        const std::function<void()> report =
            table_.Report(finished->id, std::move(finished->report));
        if (report) {
            report();
        }
        return;
    }
    KillTimer(window_, TimerOf(finished->id));
    const std::function<void()> then = table_.Finish(finished->id, finished->outcome);
    if (then) {
        then();
    }
}

void BackgroundWorkWin::OnTimer(UINT_PTR timer)
{
    if (timer == kRetryTimer) {
        RetryParked();
        return;
    }
    KillTimer(window_, timer);
    const std::function<void()> then = table_.Expire(static_cast<JobId>(timer));
    if (then) {
        then();
    }
}

LRESULT CALLBACK BackgroundWorkWin::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<BackgroundWorkWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
        switch (msg) {
        case kJobFinished:
            self->OnJobFinished();
            return 0;
        case WM_TIMER:
            self->OnTimer(wp);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace torvane::win
