// The status of one file as the runtime reports it, with room for sizes over 2 GiB and
// for times after 2038.
#pragma once

#include <cstddef>
#include <cstdint>

// Which of a file's times to read.
enum class FileTime { CREATED, MODIFIED, ACCESSED };
constexpr std::size_t FILE_TIME_COUNT = 3;

// Where a FileTime stands in a table of the three.
constexpr std::size_t TimeIndex(FileTime which) {
    return static_cast<std::size_t>(which);
}

// Which of the runtime's status and local-time functions answer: _stat64 and _localtime64, or
// (Windows 95, 98, ME, NT 4.0) _stat and localtime. Each holds times from 1970 on, up to its
// last second.
enum class RuntimeWidth { NARROW, WIDE };

struct FileStatus {
    std::int64_t size;
    std::int64_t times[FILE_TIME_COUNT];   // seconds since 1970-01-01 00:00 UTC, by FileTime
};

// A day in local time.
struct LocalDate {
    unsigned year;
    unsigned month;   // 1 to 12
    unsigned day;     // 1 to 31
};

// Asks the runtime for the status of path into a scratch record from the local heap; a name the
// runtime misreads (EndsInSecondByteBackslash) is asked of the platform's directory search.
// False when the record cannot be had or there is no such name.
bool ReadFileStatus(const char* path, FileStatus& status);

// The status as ReadFileStatus reads it where the runtime has no _stat64 (Windows 95, 98, NT 4.0).
bool ReadNarrowFileStatus(const char* path, FileStatus& status);

// The runtime of this machine: WIDE where it has both _stat64 and _localtime64.
RuntimeWidth MachineRuntime();

// The local day of one of the file's times, read through the runtime of the given width (NARROW
// where the machine's has no wide functions). A time that runtime cannot hold (before 1970, past
// its last second: Wine's _stat64 leaves such a time unset, the 32-bit one with whatever its
// memory held) is the directory entry's own, converted by the platform: on the NT family by the
// time zone's rules for that date, elsewhere with today's offset from UTC. A drive's root, which
// has no entry, keeps the runtime's time. False when there is no such name or no date for its time.
bool ReadFileDate(const char* path, FileTime which, RuntimeWidth runtime, LocalDate& date);
