// BackgroundWork for unit tests of models, without threads: it records the
// jobs started and the test decides when each one ends. The supersede, cancel
// and time-out rules are the real runner's JobTable.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/background_work.h"
#include "common/job_table.h"

namespace torvane {

class FakeBackgroundWork final : public BackgroundWork {
public:
    struct Started {
        JobId id = kNoJob;
        std::string kind;
        int timeoutMs = 0;
    };

    JobId Start(JobOptions options, std::function<void()> work, std::function<void()> deliver,
                std::function<void()> timedOut) override
    {
        return StartReporting(
            std::move(options), [work = std::move(work)](const PostReport&) { work(); },
            std::move(deliver), std::move(timedOut));
    }

    // True: a runner that cannot run jobs; every start returns kNoJob.
    bool refusing = false;

    // The work's reports wait until DeliverReports or the job's completion.
    JobId StartReporting(JobOptions options, std::function<void(const PostReport&)> work,
                         std::function<void()> deliver, std::function<void()> timedOut) override
    {
        if (refusing) {
            return kNoJob;
        }
        const JobTable::Added added = table_.Add(options, std::move(deliver), std::move(timedOut));
        work_.erase(added.superseded);
        const JobId id = added.id;
        work_[id] = [this, id, work = std::move(work)] {
            work([this, id](std::function<void()> report) {
                reports_.push_back({id, std::move(report)});
            });
        };
        started_.push_back({id, std::move(options.kind), options.timeoutMs});
        return id;
    }

    void Cancel(JobId id) override
    {
        table_.Drop(id);
        work_.erase(id);
    }

    // Every job ever started, in order, also those since ended.
    const std::vector<Started>& started() const { return started_; }
    // The jobs that may still deliver, oldest first.
    std::vector<JobId> Pending() const { return table_.LiveJobs(); }
    bool IsPending(JobId id) const { return table_.IsLive(id); }

    // Runs the job's work here and now, then delivers its result (or its
    // time-out, if the work threw) as the runner would on its next event.
    // False, and nothing runs, when the job is not pending.
    bool Complete(JobId id)
    {
        const auto found = work_.find(id);
        if (found == work_.end() || !table_.IsLive(id)) {
            return false;
        }
        const std::function<void()> work = std::move(found->second);
        work_.erase(found);
        const WorkOutcome outcome = RunWork(work);
        DeliverReports();
        const std::function<void()> then = table_.Finish(id, outcome);
        if (then) {
            then();
        }
        return true;
    }

    // Runs the reports posted so far, oldest first, as the window's thread
    // would while the work goes on; those of jobs no longer live are dropped.
    void DeliverReports()
    {
        while (!reports_.empty()) {
            auto [id, report] = std::move(reports_.front());
            reports_.pop_front();
            if (const std::function<void()> run = table_.Report(id, std::move(report))) {
                run();
            }
        }
    }

    // Completes the jobs pending now, oldest first; jobs that their
    // deliveries start stay pending. Returns how many completed.
    int CompleteAll()
    {
        int completed = 0;
        for (JobId id : Pending()) {
            completed += Complete(id) ? 1 : 0;
        }
        return completed;
    }

    // The job's time is up: its time-out runs, and its result never comes.
    // False when the job is not pending.
    bool TimeOut(JobId id)
    {
        if (!table_.IsLive(id)) {
            return false;
        }
        work_.erase(id);
        const std::function<void()> then = table_.Expire(id);
        if (then) {
            then();
        }
        return true;
    }

private:
    JobTable table_;
    std::map<JobId, std::function<void()>> work_;
    std::vector<Started> started_;
    std::deque<std::pair<JobId, std::function<void()>>> reports_;
};

}  // namespace torvane
