#include "TaskThreads.h"

namespace orvane {

TaskThreads::~TaskThreads() {
    JoinAll();
}

bool TaskThreads::Start(std::function<void()> job) {
    std::lock_guard lock(m_mutex);
    if (m_closing) return false;
    ReapLocked();
    m_tasks.emplace_back();
    Task* task = &m_tasks.back();
    task->thread.Start("orv-task", [this, task, job = std::move(job)](std::stop_token) {
        job();
        std::lock_guard done(m_mutex);
        task->finished = true;
    });
    return true;
}

void TaskThreads::JoinAll() {
    std::list<Task> tasks;
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    // Jobs may still be finishing; join outside the lock they need to end.
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            tasks.splice(tasks.end(), m_tasks);
        }
        if (tasks.empty()) break;
        for (Task& task : tasks) {
            task.thread.Join();
        }
        tasks.clear();
    }
}

int TaskThreads::Running() const {
    std::lock_guard lock(m_mutex);
    int running = 0;
    for (const Task& task : m_tasks) running += task.finished ? 0 : 1;
    return running;
}

void TaskThreads::ReapLocked() {
    for (auto it = m_tasks.begin(); it != m_tasks.end();) {
        if (it->finished) {
            it->thread.Join();  // it has left the job; only its exit remains
            it = m_tasks.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace orvane
