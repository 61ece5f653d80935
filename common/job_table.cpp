#include "common/job_table.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>

namespace torvane {
namespace {

void RunAndReport(std::shared_ptr<FinishedJobs> finished, JobId id, std::function<void()> work)
{
    finished->Report(id, RunWork(work));
}

}  // namespace

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

void StartWorker(std::shared_ptr<FinishedJobs> finished, JobId id, std::function<void()> work)
{
    try {
        std::thread(RunAndReport, finished, id, std::move(work)).detach();
    } catch (const std::system_error&) {
        finished->Report(id, WorkOutcome::Threw);
    }
}

}  // namespace torvane
