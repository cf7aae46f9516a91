// The runtime's own table, as its reference lists it: each platform error the runtime names,
// with its errno. Two ranges stand for many codes: the write-protect to sharing-buffer errors
// (19 to 36, among them the sharing violation 32) are EACCES, the executable-format errors
// (188 to 202) ENOEXEC.
#include <cerrno>

#include "state/windows_errors.h"

namespace {

struct ErrorRow {
    DWORD error;
    int errnoValue;
};

constexpr ErrorRow ERROR_ROWS[] = {
    {ERROR_INVALID_FUNCTION, EINVAL},      {ERROR_FILE_NOT_FOUND, ENOENT},
    {ERROR_PATH_NOT_FOUND, ENOENT},        {ERROR_TOO_MANY_OPEN_FILES, EMFILE},
    {ERROR_ACCESS_DENIED, EACCES},         {ERROR_INVALID_HANDLE, EBADF},
    {ERROR_ARENA_TRASHED, ENOMEM},         {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
    {ERROR_INVALID_BLOCK, ENOMEM},         {ERROR_BAD_ENVIRONMENT, E2BIG},
    {ERROR_BAD_FORMAT, ENOEXEC},           {ERROR_INVALID_ACCESS, EINVAL},
    {ERROR_INVALID_DATA, EINVAL},          {ERROR_INVALID_DRIVE, ENOENT},
    {ERROR_CURRENT_DIRECTORY, EACCES},     {ERROR_NOT_SAME_DEVICE, EXDEV},
    {ERROR_NO_MORE_FILES, ENOENT},         {ERROR_LOCK_VIOLATION, EACCES},
    {ERROR_BAD_NETPATH, ENOENT},           {ERROR_NETWORK_ACCESS_DENIED, EACCES},
    {ERROR_BAD_NET_NAME, ENOENT},          {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_CANNOT_MAKE, EACCES},           {ERROR_FAIL_I24, EACCES},
    {ERROR_INVALID_PARAMETER, EINVAL},     {ERROR_NO_PROC_SLOTS, EAGAIN},
    {ERROR_DRIVE_LOCKED, EACCES},          {ERROR_BROKEN_PIPE, EPIPE},
    {ERROR_DISK_FULL, ENOSPC},             {ERROR_INVALID_TARGET_HANDLE, EBADF},
    {ERROR_WAIT_NO_CHILDREN, ECHILD},      {ERROR_CHILD_NOT_COMPLETE, ECHILD},
    {ERROR_DIRECT_ACCESS_HANDLE, EBADF},   {ERROR_NEGATIVE_SEEK, EINVAL},
    {ERROR_SEEK_ON_DEVICE, EACCES},        {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
    {ERROR_NOT_LOCKED, EACCES},            {ERROR_BAD_PATHNAME, ENOENT},
    {ERROR_MAX_THRDS_REACHED, EAGAIN},     {ERROR_LOCK_FAILED, EACCES},
    {ERROR_ALREADY_EXISTS, EEXIST},        {ERROR_FILENAME_EXCED_RANGE, ENOENT},
    {ERROR_NESTING_NOT_ALLOWED, EAGAIN},   {ERROR_NOT_ENOUGH_QUOTA, ENOMEM},
};

struct ErrorRange {
    DWORD first;
    DWORD last;
    int errnoValue;
};

constexpr ErrorRange ERROR_RANGES[] = {
    {ERROR_WRITE_PROTECT, ERROR_SHARING_BUFFER_EXCEEDED, EACCES},
    {ERROR_INVALID_STARTING_CODESEG, ERROR_INFLOOP_IN_RELOC_CHAIN, ENOEXEC},
};

constexpr int UNNAMED_ERROR = EINVAL;

}  // namespace

std::uint32_t RuntimeErrnoOf(DWORD error) {
    for (const ErrorRow& row : ERROR_ROWS)
        if (row.error == error) return static_cast<std::uint32_t>(row.errnoValue);
    for (const ErrorRange& range : ERROR_RANGES)
        if (error >= range.first && error <= range.last) return static_cast<std::uint32_t>(range.errnoValue);
    return UNNAMED_ERROR;
}

bool IsTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}
