// The status of one file as the runtime reports it, with room for sizes over 2 GiB and
// for times after 2038.
#pragma once

#include <cstdint>

// Which of a file's times to read.
enum FileTime : int { FILE_TIME_CREATED = 0, FILE_TIME_MODIFIED = 1, FILE_TIME_ACCESSED = 2 };
constexpr int FILE_TIME_COUNT = 3;

struct FileStatus {
    std::int64_t size;
    std::int64_t times[FILE_TIME_COUNT];   // seconds since 1970-01-01 00:00 UTC, by FileTime
};

// Asks the runtime for the status of path into a scratch record from the local heap; a name the
// runtime misreads (EndsInSecondByteBackslash) is asked of the platform's directory search.
// False when the record cannot be had or there is no such name.
bool ReadFileStatus(const char* path, FileStatus& status);

// The status as ReadFileStatus reads it where the runtime has no _stat64 (Windows 95, 98, NT 4.0).
bool ReadNarrowFileStatus(const char* path, FileStatus& status);

// The runtime's text for a time, "Wed Jan 02 02:03:55 1980\n" in local time, or null when the
// runtime cannot express it.
const char* FileTimeText(std::int64_t time);
