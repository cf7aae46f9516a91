// A small check harness in the manner of Wine's conformance tests: ok(condition, message...).
#pragma once

#include <cstdarg>
#include <cstdio>

namespace harness {

inline int checks = 0;
inline int failures = 0;
inline int skips = 0;
inline int brokenAnswers = 0;

inline void Report(const char* file, int line, const char* what, const char* format, va_list args) {
    std::printf("%s:%d: %s: ", file, line, what);
    std::vprintf(format, args);
    std::fflush(stdout);
}

inline void Check(const char* file, int line, bool condition, const char* format, ...) {
    ++checks;
    if (condition) return;
    ++failures;
    va_list args;
    va_start(args, format);
    Report(file, line, "Test failed", format, args);
    va_end(args);
}

// Checks left out here, and why: counted and printed, never a failure.
inline void Skip(const char* file, int line, const char* format, ...) {
    ++skips;
    va_list args;
    va_start(args, format);
    Report(file, line, "Tests skipped", format, args);
    va_end(args);
}

// An answer accepted as a known fault of the platform the test runs on, inside ok():
// ok(right || broken(known), ...). True when it is that answer, which is counted and printed.
inline bool Broken(const char* file, int line, bool condition, const char* reason) {
    if (!condition) return false;
    ++brokenAnswers;
    std::printf("%s:%d: Broken answer accepted: %s\n", file, line, reason);
    return true;
}

// Prints the totals; the exit code of the test program.
inline int Summary(const char* name) {
    std::printf("%s: %d checks, %d failures, %d skipped, %d broken answers accepted\n", name, checks, failures, skips,
                brokenAnswers);
    return failures ? 1 : 0;
}

}  // namespace harness

#define ok(condition, ...) harness::Check(__FILE__, __LINE__, (condition), __VA_ARGS__)
#define skip(...) harness::Skip(__FILE__, __LINE__, __VA_ARGS__)
#define broken(condition, reason) harness::Broken(__FILE__, __LINE__, (condition), (reason))
