// "Sizeof(" and the three date expressions: the file's status through workPath. A name longer
// than 259 characters answers as a missing file: its first 259 could name another one.
#include <algorithm>
#include <cstring>

#include "info/file_information.h"
#include "state/host_services.h"

namespace {

constexpr std::int32_t SIZE_FAILURE = -1;
// A file of 2 GiB or more answers the largest size the expression can carry.
constexpr std::int64_t LARGEST_SIZE = 0x7FFFFFFF;

constexpr std::size_t DATE_RESULT_SIZE = 10;   // dd/mm/yy and its NUL, with a byte to spare

// Month numbers, entry i the month of entry i of MONTH_ABBREVIATIONS; no terminators used.
constexpr char MONTH_NUMBERS[] = "010203040506070809101112";
constexpr int MONTH_COUNT = 12;

// Places in the runtime's time text "Wed Jan 02 02:03:55 1980\n".
constexpr std::size_t TIME_TEXT_LENGTH = 24;
constexpr int TEXT_MONTH = 4;
constexpr int TEXT_DAY = 8;
constexpr char TEXT_END = '\n';   // the year's last two digits stand before it

// The month of a time text, 0 to 11, or -1 when its abbreviation is none of the twelve.
int MonthOf(const char* text) {
    for (int i = 0; i < MONTH_COUNT; ++i)
        if (text[TEXT_MONTH] == MONTH_ABBREVIATIONS[3 * i] && text[TEXT_MONTH + 1] == MONTH_ABBREVIATIONS[3 * i + 1] &&
            text[TEXT_MONTH + 2] == MONTH_ABBREVIATIONS[3 * i + 2])
            return i;
    return -1;
}

// The day as the text has it, the month's number, the year's last two digits.
void WriteDate(char* result, const char* text, int month) {
    const char* end = std::strchr(text, TEXT_END);
    const char* yearTens = (end ? end : text + std::strlen(text)) - 2;
    const char date[] = {text[TEXT_DAY], text[TEXT_DAY + 1], '/',
                         MONTH_NUMBERS[2 * month], MONTH_NUMBERS[2 * month + 1], '/',
                         yearTens[0], yearTens[1], '\0'};
    std::memcpy(result, date, sizeof date);
}

// The chosen time of the file as dd/mm/yy, or nothing when it cannot be had.
void WriteFileDate(RunData* rd, const char* name, FileTime selector, char* result) {
    if (!rd->workPath) return;
    if (!CopyWholePath(rd->workPath, name)) return;
    char text[TIME_TEXT_SIZE];
    if (!WriteFileTimeText(rd->workPath, selector, MachineRuntime(), text) || std::strlen(text) < TIME_TEXT_LENGTH) return;
    const int month = MonthOf(text);
    if (month < 0) return;
    WriteDate(result, text, month);
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
