// Qt itself is not built with ThreadSanitizer: the reference counts of its
// implicitly shared data are changed inside libQt6Core where the sanitizer
// cannot see them, so freeing a QString that another thread has just let go
// of looks like a race. Only frames inside Qt are excused.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so\n";
}
