// Background work: the rules every runner keeps (JobTable) and the hand-over
// from real threads (FinishedJobs, StartWorker).
#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/background_work.h"
#include "common/job_table.h"

namespace torvane {
namespace {

// What the window thread ran, in order: "deliver <job>" or "timeout <job>".
struct Story {
    std::vector<std::string> lines;
    std::function<void()> Note(std::string line)
    {
        return [this, line] { lines.push_back(line); };
    }
};

void RunIf(const std::function<void()>& then)
{
    if (then) {
        then();
    }
}

// One step of a table case: what happens to which job (by its order of
// starting, from 0), and in what kind new jobs start.
struct Step {
    enum Op { Start, Finish, Throw, Expire, Drop, Report } op;
    int job = 0;            // for Finish, Throw, Expire, Drop, Report
    std::string kind = {};  // for Start
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> story;
};

TEST(JobTable, KeepsTheRulesOfSupersedeTimeOutAndCancel)
{
    using S = Step;
    const Case cases[] = {
        {"a finished job delivers once",
         {{S::Start}, {S::Finish, 0}, {S::Finish, 0}, {S::Expire, 0}},
         {"deliver 0"}},
        {"a job that overruns times out and its late result is dropped",
         {{S::Start}, {S::Expire, 0}, {S::Finish, 0}},
         {"timeout 0"}},
        {"a newer job of a kind drops the older one, even when the older ends first",
         {{S::Start, 0, "weather"}, {S::Start, 0, "weather"}, {S::Finish, 0}, {S::Expire, 0},
          {S::Finish, 1}},
         {"deliver 1"}},
        {"jobs of other kinds, or of no kind, do not supersede",
         {{S::Start, 0, "weather"}, {S::Start, 0, "update"}, {S::Start}, {S::Start},
          {S::Finish, 3}, {S::Finish, 2}, {S::Finish, 1}, {S::Finish, 0}},
         {"deliver 3", "deliver 2", "deliver 1", "deliver 0"}},
        {"a cancelled job neither delivers nor times out",
         {{S::Start}, {S::Drop, 0}, {S::Finish, 0}, {S::Expire, 0}},
         {}},
        {"a live job's reports run, those of a dropped or ended job are dropped",
         {{S::Start}, {S::Start}, {S::Report, 0}, {S::Drop, 1}, {S::Report, 1}, {S::Finish, 0},
          {S::Report, 0}},
         {"report 0", "deliver 0"}},
        {"work that throws ends the job as a time-out",
         {{S::Start}, {S::Throw, 0}, {S::Finish, 0}},
         {"timeout 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobTable table;
        Story story;
        std::vector<JobId> ids;
        for (const Step& step : c.steps) {
            const JobId id = step.op == S::Start ? kNoJob : ids.at(step.job);
            switch (step.op) {
            case S::Start: {
                const std::string n = std::to_string(ids.size());
                ids.push_back(table.Add({step.kind, 1000}, story.Note("deliver " + n),
                                        story.Note("timeout " + n)).id);
                break;
            }
            case S::Finish: RunIf(table.Finish(id, WorkOutcome::Returned)); break;
            case S::Throw: RunIf(table.Finish(id, WorkOutcome::Threw)); break;
            case S::Expire: RunIf(table.Expire(id)); break;
            case S::Drop: table.Drop(id); break;
            case S::Report: RunIf(table.Report(id, story.Note("report " + std::to_string(step.job)))); break;
            }
        }
        EXPECT_EQ(story.lines, c.story);
        EXPECT_TRUE(table.LiveJobs().empty());
    }
}

TEST(JobTable, ParkedWorkWaitsForItsJobAndGoesWithIt)
{
    enum class End { None, Supersede, Drop, Expire, Finish };
    struct ParkCase {
        const char* name;
        End end;
        std::vector<JobId> taken;      // of the jobs 1 (ended as `end`) and 2
        std::vector<std::string> story;
    };
    const ParkCase cases[] = {
        {"a live job's work is taken once, oldest first", End::None, {1, 2}, {}},
        {"a superseded job's work never starts", End::Supersede, {2}, {}},
        {"a cancelled job's work never starts", End::Drop, {2}, {}},
        {"a job whose time is up says so and its work never starts", End::Expire, {2}, {"timeout 1"}},
        {"a job that ended otherwise leaves no work behind", End::Finish, {2}, {"deliver 1"}},
    };
    for (const ParkCase& c : cases) {
        SCOPED_TRACE(c.name);
        JobTable table;
        Story story;
        auto held = std::make_shared<int>(0);  // what job 1's work holds
        const JobId first = table.Add({"weather", 1000}, story.Note("deliver 1"), story.Note("timeout 1")).id;
        const JobId second = table.Add({"", 1000}, story.Note("deliver 2"), story.Note("timeout 2")).id;
        table.Park(first, [held] {});
        table.Park(second, [] {});
        table.Park(second + 1, [held] {});  // no such job: released at once
        switch (c.end) {
        case End::None: break;
        case End::Supersede: table.Add({"weather", 1000}, {}, {}); break;
        case End::Drop: table.Drop(first); break;
        case End::Expire: RunIf(table.Expire(first)); break;
        case End::Finish: RunIf(table.Finish(first, WorkOutcome::Returned)); break;
        }
        EXPECT_EQ(held.use_count() > 1, c.end == End::None) << "job 1's work is released with it";
        EXPECT_TRUE(table.HasParked());
        std::vector<JobId> taken;
        for (auto& [id, work] : table.TakeParked()) {
            EXPECT_TRUE(work);
            taken.push_back(id);
        }
        EXPECT_EQ(taken, c.taken);
        EXPECT_FALSE(table.HasParked());
        EXPECT_TRUE(table.TakeParked().empty());
        EXPECT_EQ(story.lines, c.story);
    }
}

// Counts wake-ups and lets a test wait for a number of them.
class Waker {
public:
    std::function<void()> Wake()
    {
        return [this] {
            const std::lock_guard lock(mutex_);
            ++wakes_;
            changed_.notify_all();
        };
    }
    void WaitFor(int wakes)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return wakes_ >= wakes; });
    }
    int wakes()
    {
        const std::lock_guard lock(mutex_);
        return wakes_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int wakes_ = 0;
};

// A gate a worker waits at until the test opens it.
class Gate {
public:
    void Open()
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Pass()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

TEST(FinishedJobs, AWorkerThatOutlivesItsRunnerReportsIntoNothing)
{
    Waker waker;
    Gate gate;
    auto finished = std::make_shared<FinishedJobs>(waker.Wake());
    bool reported = true;
    std::thread worker([&gate, &reported, shared = finished] {
        gate.Pass();  // a connection that answers only after the runner is gone
        reported = shared->Report(7, WorkOutcome::Returned);
    });
    finished->Report(6, WorkOutcome::Returned);
    finished->Close();  // the runner goes, the worker still holds the record
    finished.reset();
    gate.Open();
    worker.join();
    EXPECT_FALSE(reported);
    EXPECT_EQ(waker.wakes(), 1);
}

TEST(StartWorker, RunsTheWorkOnAnotherThreadAndReportsHowItEnded)
{
    Waker waker;
    auto finished = std::make_shared<FinishedJobs>(waker.Wake());
    std::thread::id ranOn;
    StartWorker(finished, 1, [&ranOn] { ranOn = std::this_thread::get_id(); });
    StartWorker(finished, 2, [] { throw std::runtime_error("no answer"); });
    waker.WaitFor(2);
    std::set<std::pair<JobId, WorkOutcome>> reports;
    while (const std::optional<FinishedJobs::Finished> report = finished->Take()) {
        reports.insert({report->id, report->outcome});
    }
    EXPECT_EQ(reports, (std::set<std::pair<JobId, WorkOutcome>>{{1, WorkOutcome::Returned},
                                                                {2, WorkOutcome::Threw}}));
    EXPECT_NE(ranOn, std::this_thread::get_id());
    finished->Close();
}

TEST(StartWorker, ARefusedThreadGivesTheWorkBackWhole)
{
    Waker waker;
    auto finished = std::make_shared<FinishedJobs>(waker.Wake());
    int refused = 0;
    const ThreadStart refuse = [&refused](std::function<void()>) {
        ++refused;
        return false;
    };
    auto held = std::make_shared<int>(0);
    std::string result;
    std::function<void()> work = [held, &result] { result = "answer"; };
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(StartWorker(finished, 5, work, refuse));
        ASSERT_TRUE(work) << "the work came back after refusal " << attempt;
    }
    EXPECT_EQ(refused, 3);
    EXPECT_FALSE(finished->Take()) << "a refused start reports nothing by itself";
    EXPECT_EQ(result, "");

    // A later try that gets a thread runs the very same work and reports it.
    EXPECT_TRUE(StartWorker(finished, 5, work));
    waker.WaitFor(1);
    const std::optional<FinishedJobs::Finished> report = finished->Take();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->id, 5u);
    EXPECT_EQ(report->outcome, WorkOutcome::Returned);
    EXPECT_EQ(result, "answer");
    finished->Close();
}

TEST(StartWorker, ReportsOfTheWorkArriveInOrderBeforeItsEnd)
{
    Waker waker;
    auto finished = std::make_shared<FinishedJobs>(waker.Wake());
    std::vector<std::string> seen;  // only the test's thread runs the reports
    StartWorker(finished, 3, [&seen, post = PosterFor(finished, 3)] {
        for (const char* percent : {"10%", "60%", "100%"}) {
            post([&seen, percent] { seen.push_back(percent); });
        }
    });
    waker.WaitFor(4);
    while (const std::optional<FinishedJobs::Finished> entry = finished->Take()) {
        EXPECT_EQ(entry->id, 3u);
        if (entry->report) {
            entry->report();
        } else {
            seen.push_back("end");
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"10%", "60%", "100%", "end"}));
    finished->Close();
    EXPECT_FALSE(finished->Post(3, [] {}));
}

}  // namespace
}  // namespace torvane
