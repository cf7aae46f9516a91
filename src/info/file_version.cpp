// "VersionMS(" and "VersionLS(": the file version from the file's own version resource.
// The name goes to the platform whole, without CopyPath, but resolved from the current
// directory first: the platform's version functions would otherwise search the program's folder,
// the system folders and the path, and add ".dll" to a name without an extension. The file is
// opened once and its handle asked: a name that is no file on disk (a device name, a pipe, a
// FIFO, a folder) answers 0 before anything is read from it. Some platforms read another file
// than the one named (Wine answers for its own library of the same base name, kernel32.dll or
// comctl32.dll): a version record that is not among the named file's bytes answers 0.
#include <cstring>

#include "info/file_version.h"
#include "state/file_facts.h"
#include "state/host_services.h"
#include "state/name_characters.h"
#include "state/path_names.h"

namespace {

constexpr HostWord NO_VERSION = 0;
constexpr char ROOT_BLOCK[] = "\\";
constexpr char EXTENSION_MARK = '.';
// A root record long enough for the two words read; the rest of the fixed record is not needed.
constexpr UINT VERSION_WORDS_END = offsetof(VS_FIXEDFILEINFO, dwFileVersionLS) + sizeof(DWORD);
static_assert(VERSION_WORDS_END == 16);
constexpr std::size_t SCAN_BLOCK = 4096;   // bytes of the file read at a time when looking for the record

// The record the platform answered, as far as it reaches (at most the whole fixed record).
struct FixedVersion {
    std::uint8_t bytes[sizeof(VS_FIXEDFILEINFO)];
    std::size_t length;
};

// The name made whole from the current directory, with a period after a last component that has
// no extension so that the platform adds none (the period names the same file). False when it is
// too long, or names a device, which opening could already wait on or change.
bool ResolveFile(const char* name, char* full, std::size_t size) {
    const DWORD length = GetFullPathNameA(name, static_cast<DWORD>(size - 1), full, nullptr);
    if (length == 0 || length >= size - 1 || TargetOfPath(full) != NameTarget::DISK_FILE) return false;
    const char* separator = LastSeparator(full);
    if (std::strchr(separator ? separator + 1 : full, EXTENSION_MARK)) return true;
    full[length] = EXTENSION_MARK;
    full[length + 1] = '\0';
    return true;
}

// Finds the fixed version record in a version block read whole.
bool ReadFixedVersion(void* block, FixedVersion& fixed) {
    void* record = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, ROOT_BLOCK, &record, &length)) return false;
    if (!record || length < VERSION_WORDS_END) return false;   // none, or too short for the words
    fixed.length = length < sizeof fixed.bytes ? length : sizeof fixed.bytes;
    std::memcpy(fixed.bytes, record, fixed.length);
    return true;
}

// The version record the platform reads for the name, from a block of the global heap.
bool ReadVersionRecord(const char* name, FixedVersion& fixed) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(name, &handle);
    if (size == 0) return false;   // no version information
    void* block = GlobalAlloc(GPTR, size);
    if (!block) return false;
    const bool found = GetFileVersionInfoA(name, handle, size, block) == 1 && ReadFixedVersion(block, fixed);
    GlobalFree(block);
    return found;
}

// True when the record's bytes are among the file's, read through the handle from its start.
bool BytesHoldRecord(HANDLE file, const FixedVersion& fixed) {
    std::uint8_t window[SCAN_BLOCK + sizeof fixed.bytes];
    std::size_t kept = 0;   // the end of the last block, where the record may begin
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, window + kept, SCAN_BLOCK, &read, nullptr) || read == 0) return false;
        const std::size_t filled = kept + read;
        for (std::size_t at = 0; at + fixed.length <= filled; ++at)
            if (window[at] == fixed.bytes[0] && std::memcmp(window + at, fixed.bytes, fixed.length) == 0) return true;
        if (read < SCAN_BLOCK) return false;   // the file has ended
        kept = fixed.length - 1;
        std::memcpy(window, window + filled - kept, kept);   // apart: a block is longer than a record
    }
}

}  // namespace

// The file is held open, writers kept out, from before the platform reads it until its bytes have
// shown the record: the answer is this file's own.
bool GetFileVersionWords(RunData* rd, HostWord token, DWORD* mostSignificant, DWORD* leastSignificant) {
    const char* parameter = GetStringParameter(rd, token);
    char full[PATH_BUFFER_SIZE];
    if (!ResolveFile(parameter ? parameter : "", full, sizeof full)) return false;
    const HANDLE file = CreateFileA(full, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FixedVersion fixed;   // a pipe's or FIFO's read can wait for ever: the handle is asked first
    const bool found = IsRegularFile(file) && ReadVersionRecord(full, fixed) && BytesHoldRecord(file, fixed);
    CloseHandle(file);
    if (!found) return false;
    VS_FIXEDFILEINFO words{};
    std::memcpy(&words, fixed.bytes, fixed.length);
    *mostSignificant = words.dwFileVersionMS;
    *leastSignificant = words.dwFileVersionLS;
    return true;
}

extern "C" HostWord WINAPI ExpressionVersionMS(RunData* rd, HostWord token) {
    DWORD mostSignificant = 0, leastSignificant = 0;
    if (!GetFileVersionWords(rd, token, &mostSignificant, &leastSignificant) ) return NO_VERSION;
    return static_cast<std::int32_t>(mostSignificant);
}

extern "C" HostWord WINAPI ExpressionVersionLS(RunData* rd, HostWord token) {
    DWORD mostSignificant = 0, leastSignificant = 0;
    if (!GetFileVersionWords(rd, token, &mostSignificant, &leastSignificant) ) return NO_VERSION;
    return static_cast<std::int32_t>(leastSignificant);
}
