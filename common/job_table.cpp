#include "common/job_table.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace torvane {

WorkOutcome RunWork(const std::function<void()>& work) noexcept
{
    try {
        work();
        return WorkOutcome::Returned;
    } catch (...) {
        return WorkOutcome::Threw;
    }
}

JobTable::Added JobTable::Add(const JobOptions& options, std::function<void()> deliver,
                              std::function<void()> timedOut)
{
    Added added{nextId_++, kNoJob};
    if (!options.kind.empty()) {
        const auto same = std::ranges::find(jobs_, options.kind, &Job::kind);
        if (same != jobs_.end()) {
            added.superseded = same->id;
            jobs_.erase(same);
        }
    }
    jobs_.push_back(Job{added.id, options.kind, std::move(deliver), std::move(timedOut)});
    return added;
}

std::optional<JobTable::Job> JobTable::Take(JobId id)
{
    const auto found = std::ranges::find(jobs_, id, &Job::id);
    if (found == jobs_.end()) {
        return std::nullopt;
    }
    Job job = std::move(*found);
    jobs_.erase(found);
    return job;
}

bool JobTable::Drop(JobId id)
{
    return Take(id).has_value();
}

void JobTable::Park(JobId id, std::function<void()> work)
{
    const auto found = std::ranges::find(jobs_, id, &Job::id);
    if (found != jobs_.end()) {
        found->parked = std::move(work);
    }
}

std::vector<std::pair<JobId, std::function<void()>>> JobTable::TakeParked()
{
    std::vector<std::pair<JobId, std::function<void()>>> parked;
    for (Job& job : jobs_) {
        if (job.parked) {
            parked.emplace_back(job.id, std::move(job.parked));
            job.parked = nullptr;
        }
    }
    return parked;
}

bool JobTable::HasParked() const
{
    return std::ranges::any_of(jobs_, [](const Job& job) { return static_cast<bool>(job.parked); });
}

std::function<void()> JobTable::Finish(JobId id, WorkOutcome outcome)
{
    std::optional<Job> job = Take(id);
    if (!job) {
        return {};
    }
    return outcome == WorkOutcome::Returned ? std::move(job->deliver) : std::move(job->timedOut);
}

std::function<void()> JobTable::Expire(JobId id)
{
    std::optional<Job> job = Take(id);
    return job ? std::move(job->timedOut) : std::function<void()>{};
}

std::function<void()> JobTable::Report(JobId id, std::function<void()> report) const
{
    return IsLive(id) ? std::move(report) : std::function<void()>{};
}

bool JobTable::IsLive(JobId id) const
{
    return std::ranges::find(jobs_, id, &Job::id) != jobs_.end();
}

std::vector<JobId> JobTable::LiveJobs() const
{
    std::vector<JobId> ids;
    for (const Job& job : jobs_) {
        ids.push_back(job.id);
    }
    return ids;
}

FinishedJobs::FinishedJobs(std::function<void()> wake) : wake_(std::move(wake)) {}

bool FinishedJobs::Report(JobId id, WorkOutcome outcome)
{
    const std::lock_guard lock(mutex_);
    if (closed_) {
        return false;
    }
    finished_.push_back({id, outcome, {}});
    if (wake_) {
        wake_();
    }
    return true;
}

bool FinishedJobs::Post(JobId id, std::function<void()> report)
{
    const std::lock_guard lock(mutex_);
    if (closed_ || !report) {
        return false;
    }
    finished_.push_back({id, WorkOutcome::Returned, std::move(report)});
    if (wake_) {
        wake_();
    }
    return true;
}

std::optional<FinishedJobs::Finished> FinishedJobs::Take()
{
    const std::lock_guard lock(mutex_);
    if (finished_.empty()) {
        return std::nullopt;
    }
    Finished oldest = std::move(finished_.front());
    finished_.pop_front();
    return oldest;
}

void FinishedJobs::Close()
{
    // What goes is released outside the lock: a report may hold anything.
    std::function<void()> wake;
    std::deque<Finished> dropped;
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(finished_);
        wake.swap(wake_);
    }
}

PostReport PosterFor(std::shared_ptr<FinishedJobs> finished, JobId id)
{
    return [finished = std::move(finished), id](std::function<void()> report) {
        finished->Post(id, std::move(report));
    };
}

bool StartDetachedThread(std::function<void()> body)
{
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (...) {  // system_error, or no memory for the thread's state
        return false;
    }
}

bool StartWorker(const std::shared_ptr<FinishedJobs>& finished, JobId id, std::function<void()>& work,
                 const ThreadStart& start)
{
    // The thread gets the work through a holder it empties first thing, so a
    // refused start gives the work back untouched and a started one releases
    // it on the worker.
    auto holder = std::make_shared<std::function<void()>>(std::move(work));
    const bool started = start([finished, id, holder] {
        const std::function<void()> mine = std::move(*holder);
        *holder = nullptr;
        finished->Report(id, RunWork(mine));
    });
    if (!started) {
        work = std::move(*holder);
    }
    return started;
}

}  // namespace torvane
