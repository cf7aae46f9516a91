// Script commands that prepare files on disk the way another program or the user would.
#include <map>

#include "script_context.h"

namespace {

// Files the host holds open with no sharing, by path, until "unlock".
std::map<std::string, HANDLE> lockedFiles;

CommandResult CommandReadOnly(ScriptContext& context, Cursor& cursor) {
    std::string path;
    bool on = false;
    if (!TakeText(context, cursor, path) || !TakeOnOff(context, cursor, on)) return CommandResult{false, false, {}};
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(context, "no such file " + path);
    const DWORD wanted = on ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!SetFileAttributesA(path.c_str(), wanted)) return Fail(context, "cannot change the attributes of " + path);
    return CommandResult{};
}

CommandResult CommandLock(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return CommandResult{false, false, {}};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(context, "cannot hold " + path + " open");
    lockedFiles[path] = file;
    return CommandResult{};
}

CommandResult CommandUnlock(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return CommandResult{false, false, {}};
    const auto found = lockedFiles.find(path);
    if (found == lockedFiles.end()) return Fail(context, path + " is not held open");
    CloseHandle(found->second);
    lockedFiles.erase(found);
    return CommandResult{};
}

constexpr ScriptCommand kFileCommands[] = {
    {"readonly", CommandReadOnly, "readonly PATH on|off"},
    {"lock", CommandLock, "lock PATH (hold it open for reading, shared with nobody)"},
    {"unlock", CommandUnlock, "unlock PATH"},
};

}  // namespace

const std::span<const ScriptCommand> FileCommands = kFileCommands;
