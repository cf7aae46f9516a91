// Script commands that prepare files on disk the way another program or the user would.
#include <direct.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

#include "system/played_behaviours.h"
#include "script/script_context.h"

#include <winioctl.h>

namespace {

// The host's own helpers for folders and files, as a script prepares and reads them.
CommandResult CommandCd(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    if (_chdir(path.c_str()) != 0) return FailSayingErrno(context, "cannot enter " + path);
    return CommandResult{};
}

CommandResult CommandCwd(ScriptContext&, Cursor&) {
    char path[MAX_PATH * 2] = "";
    return Produce(Value::Str(_getcwd(path, sizeof path) ? path : ""));
}

CommandResult CommandMkdir(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return FailSaying(context, "cannot create " + path);
    return CommandResult{};
}

CommandResult CommandWrite(ScriptContext& context, Cursor& cursor) {
    std::string path, content;
    if (!TakeText(context, cursor, path) || !TakeText(context, cursor, content)) return Failed();
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) return FailSayingErrno(context, "cannot write " + path);
    return CommandResult{};
}

// True for a name that leads to a device or a pipe: one the platform makes into a device path
// (aux.tar.gz, COM1), or one whose handle, opened for no data, is no file on disk (a FIFO).
bool IsDeviceName(const std::string& path) {
    char full[MAX_PATH * 2];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length != 0 && length < sizeof full && std::strncmp(full, "\\\\.\\", 4) == 0) return true;
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool device = GetFileType(file) != FILE_TYPE_DISK;
    CloseHandle(file);
    return device;
}

// Reading a port or a FIFO can wait for ever: such a name is refused before it is opened to read.
CommandResult CommandFile(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    if (IsDeviceName(path)) return Fail(context, path + " is no file on disk");
    std::ifstream in(path, std::ios::binary);
    if (!in) return Produce(Value{});
    std::stringstream content;
    content << in.rdbuf();
    return Produce(Value::Str(content.str()));
}

CommandResult CommandExists(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    return Produce(Value::Int(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES));
}

// list PATTERN: the names of the files and folders that match (FindFirstFileA's wildcards), in
// order, joined with "|"; the empty text when none does.
CommandResult CommandList(ScriptContext& context, Cursor& cursor) {
    std::string pattern;
    if (!TakeText(context, cursor, pattern)) return Failed();
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do names.push_back(entry.cFileName);
        while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : "|") + name;
    return Produce(Value::Str(joined));
}

// Files the host holds open, by path, until "unlock".
std::map<std::string, HANDLE> lockedFiles;

CommandResult CommandReadOnly(ScriptContext& context, Cursor& cursor) {
    std::string path;
    bool on = false;
    if (!TakeText(context, cursor, path) || !TakeOnOff(context, cursor, on)) return Failed();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(context, "no such file " + path);
    const DWORD wanted = on ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!SetFileAttributesA(path.c_str(), wanted)) return FailSaying(context, "cannot change the attributes of " + path);
    return CommandResult{};
}

// How "lock" holds a file: as a program that lets nobody in, one that lets others read, write
// and delete it meanwhile, a viewer reading it while letting others read and write but not delete
// or rename it, or a logger or editor writing to it while letting others read and write.
struct LockWay {
    const char* word;   // after the path; none for the first
    DWORD access;
    DWORD sharing;
};

constexpr LockWay LOCK_WAYS[] = {
    {"", GENERIC_READ, 0},
    {"shared", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
    {"reading", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
    {"writing", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
};

// lock PATH [shared|reading|writing]: holds the file open in one of the LOCK_WAYS until "unlock".
CommandResult CommandLock(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    const LockWay* way = &LOCK_WAYS[0];
    for (const LockWay& other : LOCK_WAYS)
        if (*other.word && cursor.NextWord(other.word)) {
            way = &other;
            ++cursor.pos;
        }
    HANDLE file = CreateFileA(path.c_str(), way->access, way->sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSaying(context, "cannot hold " + path + " open");
    lockedFiles[path] = file;
    return CommandResult{};
}

CommandResult CommandUnlock(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    const auto found = lockedFiles.find(path);
    if (found == lockedFiles.end()) return Fail(context, path + " is not held open");
    CloseHandle(found->second);
    lockedFiles.erase(found);
    return CommandResult{};
}

// hardlink EXISTING NEW: a second name for an existing file.
CommandResult CommandHardLink(ScriptContext& context, Cursor& cursor) {
    std::string existing, name;
    if (!TakeText(context, cursor, existing) || !TakeText(context, cursor, name)) return Failed();
    if (!CreateHardLinkA(name.c_str(), existing.c_str(), nullptr)) return FailSaying(context, "cannot link " + name + " to " + existing);
    return CommandResult{};
}

// Which of a file's times "filetime" sets, in SetFileTime's order. Under Wine "created" sets
// nothing that is read back: it keeps no creation time and reports the modification time for it.
// The file system the host plays ("play creation-times on") keeps it.
constexpr const char* FILE_TIME_NAMES[] = {"created", "accessed", "modified"};
constexpr int FILE_TIME_KINDS = 3;
constexpr int CREATED = 0;

// A local date and time "YYYY-MM-DD HH:MM" as a file time in UTC.
bool ParseLocalTime(const std::string& date, const std::string& clock, FILETIME& utc) {
    SYSTEMTIME local{}, universal{};
    if (std::sscanf(date.c_str(), "%hu-%hu-%hu", &local.wYear, &local.wMonth, &local.wDay) != 3 ||
        std::sscanf(clock.c_str(), "%hu:%hu", &local.wHour, &local.wMinute) != 2)
        return false;
    return TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) && SystemTimeToFileTime(&universal, &utc);
}

CommandResult CommandFileTime(ScriptContext& context, Cursor& cursor) {
    std::string path, which, date, clock;
    if (!TakeText(context, cursor, path)) return Failed();
    if (!cursor.TakeWord(which) || !cursor.TakeWord(date) || !cursor.TakeWord(clock))
        return Fail(context, "filetime PATH created|modified|accessed YYYY-MM-DD HH:MM");
    int kind = 0;
    while (kind < FILE_TIME_KINDS && which != FILE_TIME_NAMES[kind]) ++kind;
    if (kind == FILE_TIME_KINDS) return Fail(context, "created, modified or accessed expected, not " + which);
    FILETIME utc{};
    if (!ParseLocalTime(date, clock, utc)) return Fail(context, "no such local time " + date + " " + clock);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSaying(context, "cannot open " + path);
    const FILETIME* times[FILE_TIME_KINDS] = {};
    times[kind] = &utc;
    const BOOL set = SetFileTime(file, times[0], times[1], times[2]);
    CloseHandle(file);
    if (!set) return FailSaying(context, "cannot set the times of " + path);
    if (kind == CREATED) KeepCreationTime(path.c_str(), utc);
    return CommandResult{};
}

// Moves the end of the open file to length bytes, longer or shorter, and closes it.
bool EndFileAt(HANDLE file, std::int64_t length) {
    LARGE_INTEGER end;
    end.QuadPart = length;
    const bool done = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return done;
}

// "sparse PATH SIZE" (a new file) and "truncate PATH LENGTH" (an existing one): the file opened
// as disposition says, then its end moved; a new file is made sparse where that is supported.
CommandResult EndFileCommand(ScriptContext& context, Cursor& cursor, DWORD disposition) {
    std::string path;
    std::int64_t length = 0;
    if (!TakeText(context, cursor, path) || !TakeInteger(context, cursor, length)) return Failed();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSaying(context, "cannot open " + path);
    DWORD returned = 0;
    if (disposition == CREATE_ALWAYS) DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    if (!EndFileAt(file, length)) return FailSaying(context, "cannot end " + path + " there");
    return CommandResult{};
}

// A file of the given size that takes no room on disk: its end is set past nothing written.
CommandResult CommandSparse(ScriptContext& context, Cursor& cursor) {
    return EndFileCommand(context, cursor, CREATE_ALWAYS);
}

// poke PATH OFFSET WIDTH VALUE: writes VALUE as a little-endian integer of WIDTH bytes.
CommandResult CommandPoke(ScriptContext& context, Cursor& cursor) {
    std::string path;
    std::int64_t offset = 0, width = 0, value = 0;
    if (!TakeText(context, cursor, path) || !TakeInteger(context, cursor, offset) ||
        !TakeInteger(context, cursor, width) || !TakeInteger(context, cursor, value))
        return Failed();
    if (width < 1 || width > 8) return Fail(context, "a width of 1 to 8 bytes expected");
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return FailSayingErrno(context, "cannot open " + path);
    file.seekp(offset);
    for (std::int64_t i = 0; i < width; ++i) file.put(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
    if (!file) return Fail(context, "cannot write " + path);
    return CommandResult{};
}

CommandResult CommandTruncate(ScriptContext& context, Cursor& cursor) {
    return EndFileCommand(context, cursor, OPEN_EXISTING);
}

CommandResult CommandFileSize(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return Produce(Value{});
    return Produce(Value::Int((static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow));
}

constexpr ScriptCommand FILE_COMMANDS[] = {
    {"cd", CommandCd},
    {"cwd", CommandCwd},
    {"mkdir", CommandMkdir},
    {"write", CommandWrite},
    {"file", CommandFile},
    {"exists", CommandExists},
    {"list", CommandList},
    {"readonly", CommandReadOnly},
    {"lock", CommandLock},
    {"unlock", CommandUnlock},
    {"hardlink", CommandHardLink},
    {"filetime", CommandFileTime},
    {"sparse", CommandSparse},
    {"poke", CommandPoke},
    {"truncate", CommandTruncate},
    {"file-size", CommandFileSize},
};

}  // namespace

const std::span<const ScriptCommand> FileCommands = FILE_COMMANDS;
