#pragma once

// Included once by each test main. Qt, glib and the C library are not built
// with ThreadSanitizer: the sanitizer sees only the calls they make into it
// (memmove, free, the time zone buffer of tzset), never their own locks
// around those calls, and would report their internals as races. Calls made
// from those libraries stay unchecked like the rest of their code; every
// access made by our code is still checked.
#if defined(__SANITIZE_THREAD__)
#define ORVANE_TEST_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORVANE_TEST_TSAN 1
#endif
#endif

#ifdef ORVANE_TEST_TSAN
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif
