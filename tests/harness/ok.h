// A small check harness in the manner of Wine's conformance tests: ok(condition, message...).
#pragma once

#include <cstdarg>
#include <cstdio>

namespace harness {

inline int checks = 0;
inline int failures = 0;

inline void Check(const char* file, int line, bool condition, const char* format, ...) {
    ++checks;
    if (condition) return;
    ++failures;
    std::printf("%s:%d: Test failed: ", file, line);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

// Prints the totals; the exit code of the test program.
inline int Summary(const char* name) {
    std::printf("%s: %d checks, %d failures\n", name, checks, failures);
    return failures ? 1 : 0;
}

}  // namespace harness

#define ok(condition, ...) harness::Check(__FILE__, __LINE__, (condition), __VA_ARGS__)
