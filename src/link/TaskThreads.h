#pragma once

#include <functional>
#include <list>
#include <mutex>

#include "OwnedThread.h"

namespace orvane {

// Short jobs that must not hold up the thread that starts them (a
// watchdog restarting or abandoning a transfer), each on a thread of its
// own. The owner joins every one of them on destruction, so a job must end
// by itself; finished threads are reaped as new ones start. Any thread.
class TaskThreads {
public:
    TaskThreads() = default;
    TaskThreads(const TaskThreads&) = delete;
    TaskThreads& operator=(const TaskThreads&) = delete;
    ~TaskThreads();

    // Runs `job` on a new thread; refused (returns false) once joining began.
    bool Start(std::function<void()> job);
    // Waits for every job started so far (not from one of the jobs).
    void JoinAll();
    int Running() const;

private:
    struct Task {
        OwnedThread thread;
        bool finished = false;
    };
    void ReapLocked();

    mutable std::mutex m_mutex;
    std::list<Task> m_tasks;
    bool m_closing = false;
};

}  // namespace orvane
