// What every BackgroundWork runner keeps, apart from threads and windows so
// that it is tested natively: the live jobs on the window's side, and the
// hand-over of finished work from the workers.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/background_work.h"

namespace torvane {

enum class WorkOutcome { Returned, Threw };

// Runs a job's work. An exception ends the job as Threw instead of ending
// the worker thread, and with it the program.
WorkOutcome RunWork(const std::function<void()>& work) noexcept;

// The window thread's view of its jobs. Not locked: only that thread
// touches it. Ids count up from 1 and are never reused, so a late report for
// a job that is gone can never be taken for a newer one.
class JobTable {
public:
    struct Added {
        JobId id = kNoJob;
        JobId superseded = kNoJob;  // the running job of the same kind, now dropped
    };

    Added Add(const JobOptions& options, std::function<void()> deliver, std::function<void()> timedOut);

    // Forgets a live job. False when it was not live.
    bool Drop(JobId id);

    // Keeps the work of a live job whose thread the system refused, for a
    // later try; it goes with the job when the job ends in any way. Work of a
    // job that is not live is released at once.
    void Park(JobId id, std::function<void()> work);
    // Takes out the parked work of the live jobs, oldest first.
    std::vector<std::pair<JobId, std::function<void()>>> TakeParked();
    bool HasParked() const;

    // The job's work ended: removes the job and gives what to run now, its
    // delivery, or its time-out when the work threw. Empty when the job is
    // not live (superseded, cancelled, timed out): its result is dropped.
    std::function<void()> Finish(JobId id, WorkOutcome outcome);

    // The job's time is up: removes it and gives its time-out to run, or an
    // empty function when it has none or is not live.
    std::function<void()> Expire(JobId id);

    // A report the job's work posted: gives it back to run while the job is
    // live, else an empty function. The job goes on either way.
    std::function<void()> Report(JobId id, std::function<void()> report) const;

    bool IsLive(JobId id) const;
    // Oldest first.
    std::vector<JobId> LiveJobs() const;

private:
    struct Job {
        JobId id = kNoJob;
        std::string kind;
        std::function<void()> deliver;
        std::function<void()> timedOut;
        std::function<void()> parked;  // work still waiting for a thread
    };

    // Removes the live job `id` and returns it, if there is one.
    std::optional<Job> Take(JobId id);

    std::vector<Job> jobs_;  // live jobs, oldest first; few at a time
    JobId nextId_ = 1;
};

// The hand-over from the workers to the window's thread. The runner and
// each of its workers hold it through a shared_ptr, so a worker that
// outlives its runner (a connection that never answers) still reports into
// valid memory; once the runner has closed it, reports are dropped.
class FinishedJobs {
public:
    struct Finished {
        JobId id = kNoJob;
        WorkOutcome outcome = WorkOutcome::Returned;
        // Set for a report the work posted while it runs; the job has not
        // ended then.
        std::function<void()> report;
    };

    // `wake` tells the window's thread that a report is waiting. It is called
    // under the lock, so after Close returns it is never called again and
    // whatever it points at may go.
    explicit FinishedJobs(std::function<void()> wake);

    // Worker side: records that the job's work ended, then wakes the window's
    // thread. False, and nothing recorded, once closed.
    bool Report(JobId id, WorkOutcome outcome);
    // Worker side: queues a report of a running job behind what waits
    // already, then wakes the window's thread. False once closed.
    bool Post(JobId id, std::function<void()> report);

    // Window side: the oldest report not yet taken.
    std::optional<Finished> Take();

    // The runner is going away: drops what is waiting and every later report.
    void Close();

private:
    std::mutex mutex_;
    std::function<void()> wake_;
    std::deque<Finished> finished_;
    bool closed_ = false;
};

// The PostReport a job's work gets: it queues reports of job `id` in `finished`.
PostReport PosterFor(std::shared_ptr<FinishedJobs> finished, JobId id);

// Starts `body` on a thread of its own; false, and `body` never run, when the
// system refuses a thread.
using ThreadStart = std::function<bool(std::function<void()> body)>;

// The real thing: a detached std::thread that nobody ever waits for.
bool StartDetachedThread(std::function<void()> body);

// Runs job `id`'s `work` on a new thread and reports its end to `finished`;
// `work` and what it holds are released on the worker, after the report.
// False when no thread could be made: `work` is then left to the caller as it
// was, to try again later (a busy system refuses threads only for a while).
bool StartWorker(const std::shared_ptr<FinishedJobs>& finished, JobId id, std::function<void()>& work,
                 const ThreadStart& start = StartDetachedThread);
// As above, for work the caller does not keep: refused, it is released.
inline bool StartWorker(const std::shared_ptr<FinishedJobs>& finished, JobId id, std::function<void()>&& work,
                        const ThreadStart& start = StartDetachedThread)
{
    return StartWorker(finished, id, work, start);
}

}  // namespace torvane
