#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#define ORVANE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORVANE_THREAD_SANITIZER 1
#endif
#endif

#ifdef ORVANE_THREAD_SANITIZER
#include <memory>
#include <type_traits>

extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace orvane {

#ifdef ORVANE_THREAD_SANITIZER
namespace detail {

// What Qt copies into its queue: the function itself stays on the heap,
// written before the poster's release mark.
template <class Job>
struct PostedJob {
    std::shared_ptr<Job> job;
    QThread* target;

    void operator()() const {
        __tsan_acquire(target);
        (*job)();
    }
    // A call dropped unrun (its context was deleted) frees the function on
    // the receiving thread too.
    ~PostedJob() {
        if (QThread::currentThread() == target) __tsan_acquire(target);
    }
};

}  // namespace detail
#endif

// Runs `f` later on the thread of `context` (never at once, even from that
// thread), and not at all once `context` is gone: the fire-and-forget GUI
// call of workers.
//
// Qt hands the function over under its own lock, which ThreadSanitizer does
// not see because Qt is not built with it. The marks below tell it the order
// Qt guarantees: what the poster did before posting happens before `f` runs.
// The receiving thread is the mark, as Qt keeps one queue per thread. Only
// the copy of the job pointer into Qt's queue item goes unchecked.
template <class F>
void PostTo(QObject* context, F&& f) {
#ifdef ORVANE_THREAD_SANITIZER
    using Job = std::decay_t<F>;
    QThread* target = context->thread();
    detail::PostedJob<Job> posted{std::make_shared<Job>(std::forward<F>(f)), target};
    __tsan_release(target);
    __tsan_ignore_thread_begin();
    QMetaObject::invokeMethod(context, std::move(posted), Qt::QueuedConnection);
    __tsan_ignore_thread_end();
#else
    QMetaObject::invokeMethod(context, std::forward<F>(f), Qt::QueuedConnection);
#endif
}

}  // namespace orvane
