// "Sizeof(" and the three date expressions: the file's status through workPath. A name longer
// than 259 characters answers as a missing file: its first 259 could name another one.
#include <algorithm>
#include <cstring>

#include "info/file_information.h"
#include "state/host_services.h"
#include "state/path_names.h"

namespace {

constexpr std::int32_t SIZE_FAILURE = -1;
// A file of 2 GiB or more answers the largest size the expression can carry.
constexpr std::int64_t LARGEST_SIZE = 0x7FFFFFFF;

constexpr std::size_t DATE_RESULT_SIZE = 10;   // dd/mm/yy and its NUL, with a byte to spare

constexpr unsigned YEARS_SHOWN = 100;   // the year's last two digits

// Two decimal digits of a number below 100.
char* WriteTwoDigits(char* at, unsigned value) {
    *at++ = static_cast<char>('0' + value / 10);
    *at++ = static_cast<char>('0' + value % 10);
    return at;
}

// The chosen time of the file as dd/mm/yy, or nothing when it cannot be had.
void WriteFileDate(RunData* rd, const char* name, FileTime selector, char* result) {
    if (!rd->workPath) return;
    if (!CopyWholePath(rd->workPath, name)) return;
    LocalDate date;
    if (!ReadFileDate(rd->workPath, selector, MachineRuntime(), date)) return;
    char* at = WriteTwoDigits(result, date.day);
    *at++ = '/';
    at = WriteTwoDigits(at, date.month);
    *at++ = '/';
    at = WriteTwoDigits(at, date.year % YEARS_SHOWN);
    *at = '\0';
}

HostWord DateExpression(RunData* rd, HostWord token, FileTime selector) {
    const char* name = GetStringParameter(rd, token);
    return FillStringResult(rd, DATE_RESULT_SIZE, [&](char* result) { WriteFileDate(rd, name, selector, result); });
}

}  // namespace

extern "C" HostWord WINAPI ExpressionSizeof(RunData* rd, HostWord token) {
    const char* name = GetStringParameter(rd, token);
    if (!rd->workPath) return SIZE_FAILURE;   // creation failed: no buffer to work in
    if (!CopyWholePath(rd->workPath, name)) return SIZE_FAILURE;   // cut, it could name another file
    FileStatus status;
    if (!ReadFileStatus(rd->workPath, status)) return SIZE_FAILURE;
    return static_cast<std::int32_t>(std::min(status.size, LARGEST_SIZE));
}

extern "C" HostWord WINAPI ExpressionCreationDate(RunData* rd, HostWord token) {
    return DateExpression(rd, token, FileTime::CREATED);
}

extern "C" HostWord WINAPI ExpressionChangeDate(RunData* rd, HostWord token) {
    return DateExpression(rd, token, FileTime::MODIFIED);
}

extern "C" HostWord WINAPI ExpressionAccessDate(RunData* rd, HostWord token) {
    return DateExpression(rd, token, FileTime::ACCESSED);
}
