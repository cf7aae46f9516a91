// Actions ended part-way from outside, as a crash, Task Manager or the end of the Wine server
// ends them. Each case runs one action through the module in a process of its own on a 1 GiB
// source, and ends that process (TerminateProcess) once the files of the destination's folder
// have grown by 64 MiB. Afterwards the source is whole, and the destination's name holds its old
// content whole, the new content whole, or nothing (a new name); an append's destination is its
// old content or the whole append. Files of the pattern ~QTFxxxx.TMP may stay beside it (they are
// counted, then removed). Before the module wrote beside its destinations, every case left a cut
// file under the destination's name.
//
//   killed MODULE FOLDER OTHER_FOLDER             every case, the files in FOLDER (on a tmpfs),
//                                                 a rename's new name in OTHER_FOLDER (another
//                                                 file system); both emptied before and after
//   killed act MODULE CODE SOURCE DESTINATION     one action, the process the cases end
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/module_api.h"

namespace {

constexpr std::uint64_t SOURCE_SIZE = 1ull << 30;
constexpr std::uint64_t TRIGGER = 64ull << 20;       // the growth at which the action is ended
constexpr DWORD BLOCK = 1 << 20;
constexpr DWORD SAMPLE = 64 * 1024;                  // read back every SAMPLE_STEP bytes
constexpr std::uint64_t SAMPLE_STEP = 16ull << 20;
constexpr UINT KILLED = 0xDEAD;
constexpr char OLD_CONTENT[] = "the destination's old content";
constexpr int RENAME = 6, APPEND = 7, COPY = 8, MOVE = 9;

enum class Before { MISSING, OLD };

struct KillCase {
    const char* name;
    int code;
    const char* destination;   // in FOLDER, or in OTHER_FOLDER for a rename
    Before before;
};

constexpr KillCase CASES[] = {
    {"copy onto a new name", COPY, "copy.bin", Before::MISSING},
    {"copy onto a file", COPY, "old.bin", Before::OLD},
    {"move onto a new name", MOVE, "moved.bin", Before::MISSING},
    {"move onto a file", MOVE, "old.bin", Before::OLD},
    {"rename to another drive", RENAME, "renamed.bin", Before::MISSING},
    {"append onto a file", APPEND, "old.bin", Before::OLD},
};

// The source's bytes: every 4 KiB page the same noise, stamped with its own offset, so that a page
// in the wrong place or of zeros never matches. Cheap to make, also through an emulator.
constexpr std::size_t PAGE = 4096;

void Fill(std::vector<char>& block, std::uint64_t offset) {
    static const std::vector<char> noise = [] {
        std::vector<char> page(PAGE);
        for (std::size_t i = 0; i < PAGE; ++i) page[i] = static_cast<char>((i * 131 + 7) % 251 + 1);
        return page;
    }();
    for (std::size_t at = 0; at < block.size(); at += PAGE) {
        std::memcpy(block.data() + at, noise.data(), PAGE);
        const std::uint64_t stamp = offset + at;
        std::memcpy(block.data() + at, &stamp, sizeof stamp);
    }
}

bool MakeSource(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> block(BLOCK);
    bool good = true;
    for (std::uint64_t offset = 0; good && offset < SOURCE_SIZE; offset += BLOCK) {
        Fill(block, offset);
        DWORD written = 0;
        good = WriteFile(file, block.data(), BLOCK, &written, nullptr) && written == BLOCK;
    }
    return CloseHandle(file) && good;
}

std::int64_t SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<std::int64_t>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
}

bool ReadAt(HANDLE file, std::uint64_t offset, std::vector<char>& bytes) {
    LONG high = static_cast<LONG>(offset >> 32);
    if (SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return false;
    DWORD got = 0;
    return ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
}

// True when the file holds the source's bytes from offset on, to its end, read back at intervals
// and at its very end: a cut or shifted copy differs in size or in a sample.
bool HoldsSource(const std::string& path, std::uint64_t offset = 0) {
    if (SizeOf(path) != static_cast<std::int64_t>(offset + SOURCE_SIZE)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> got(SAMPLE), wanted(SAMPLE);
    bool same = true;
    for (std::uint64_t at = 0; same && at < SOURCE_SIZE; at += (at + SAMPLE_STEP < SOURCE_SIZE ? SAMPLE_STEP : SAMPLE)) {
        Fill(wanted, at);
        same = ReadAt(file, offset + at, got) && got == wanted;
    }
    CloseHandle(file);
    return same;
}

constexpr std::uint64_t OLD_LENGTH = sizeof OLD_CONTENT - 1;

// True when the file starts with the old content: and ends there, when whole is asked.
bool HoldsOld(const std::string& path, bool whole = true) {
    if (whole && SizeOf(path) != static_cast<std::int64_t>(OLD_LENGTH)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> content(OLD_LENGTH);
    const bool read = ReadAt(file, 0, content);
    CloseHandle(file);
    return read && std::memcmp(content.data(), OLD_CONTENT, OLD_LENGTH) == 0;
}

bool WriteOld(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool good = file != INVALID_HANDLE_VALUE && WriteFile(file, OLD_CONTENT, OLD_LENGTH, &written, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file) && good;
}

// The files of a folder (pattern like "X:\dir\*"), by name, with their sizes.
std::vector<std::pair<std::string, std::int64_t>> FilesOf(const std::string& folder) {
    std::vector<std::pair<std::string, std::int64_t>> files;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return files;
    do
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.emplace_back(entry.cFileName, static_cast<std::int64_t>((std::uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow));
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return files;
}

std::int64_t TotalSize(const std::string& folder) {
    std::int64_t total = 0;
    for (const auto& file : FilesOf(folder)) total += file.second;
    return total;
}

// Removes the files the object leaves beside a destination when it is ended; how many.
int RemoveLeftovers(const std::string& folder) {
    int count = 0;
    for (const auto& file : FilesOf(folder))
        if (file.first.rfind("~QTF", 0) == 0 && DeleteFileA((folder + "\\" + file.first).c_str())) ++count;
    return count;
}

void Empty(const std::string& folder) {
    for (const auto& file : FilesOf(folder)) DeleteFileA((folder + "\\" + file.first).c_str());
}

// Starts the action in a process of its own and ends it once the destination's folder has grown
// by TRIGGER. False when the action ended by itself first: then nothing was tested.
bool RunAndKill(const std::string& command, const std::string& watched) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = command;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return false;
    const std::int64_t before = TotalSize(watched);
    bool killed = false;
    while (!killed && WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT)
        if (TotalSize(watched) - before >= static_cast<std::int64_t>(TRIGGER)) killed = TerminateProcess(process.hProcess, KILLED) != 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return killed && status == KILLED;
}

// What a name may hold after the kill, as the case says; a description of what it holds otherwise.
bool Acceptable(const KillCase& kill, const std::string& destination, bool sourceWhole, bool sourceGone, std::string& found) {
    const bool missing = SizeOf(destination) < 0;
    const bool appended = kill.code == APPEND;
    const bool whole = !missing && HoldsSource(destination, appended ? OLD_LENGTH : 0) && (!appended || HoldsOld(destination, false));
    const bool old = !missing && HoldsOld(destination);
    found = missing ? "nothing" : whole ? "the new content whole" : old ? "its old content" : "a cut file";
    if (!sourceWhole && !(sourceGone && whole && (kill.code == MOVE || kill.code == RENAME))) {
        found += ", and the source is not whole";
        return false;
    }
    return whole || (kill.before == Before::OLD ? old : missing);
}

bool RunCase(const KillCase& kill, const std::string& self, const std::string& module, const std::string& folder,
             const std::string& other) {
    const std::string source = folder + "\\source.bin";
    const std::string destination = (kill.code == RENAME ? other : folder) + "\\" + kill.destination;
    if (!HoldsSource(source) && !MakeSource(source)) {
        std::printf("FAIL %s: cannot write the source\n", kill.name);
        return false;
    }
    DeleteFileA(destination.c_str());
    if (kill.before == Before::OLD && !WriteOld(destination)) return false;
    const std::string command = "\"" + self + "\" act \"" + module + "\" " + std::to_string(kill.code) + " \"" + source +
                                "\" \"" + destination + "\"";
    const bool ended = RunAndKill(command, kill.code == RENAME ? other : folder);
    std::string found;
    const bool acceptable = Acceptable(kill, destination, HoldsSource(source), SizeOf(source) < 0, found);
    const int leftovers = RemoveLeftovers(folder) + RemoveLeftovers(other);
    std::printf("%s %s: the destination holds %s; %d file(s) of the pattern left beside it\n",
                ended && acceptable ? "ok" : "FAIL", kill.name, found.c_str(), leftovers);
    if (!ended) std::printf("FAIL %s: the action ended before it could be stopped part-way\n", kill.name);
    return ended && acceptable;
}

int Act(const char* module, int code, const char* source, const char* destination) {
    PlainObject object;
    if (!CreatePlainObject(module, object)) return 2;
    const std::uint32_t error = PlainAction(object, code, source, destination);
    std::printf("done: %u\n", error);
    DestroyPlainObject(object);
    return 0;
}

int RunCases(const std::string& module, const std::string& folder, const std::string& other) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(other.c_str(), nullptr);
    Empty(folder);
    Empty(other);
    int failed = 0;
    for (const KillCase& kill : CASES) failed += RunCase(kill, self, module, folder, other) ? 0 : 1;
    Empty(folder);
    Empty(other);
    RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(other.c_str());
    std::printf("killed: %d of %d cases failed\n", failed, static_cast<int>(std::size(CASES)));
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "act") == 0) return Act(argv[2], std::atoi(argv[3]), argv[4], argv[5]);
    if (argc == 4) return RunCases(argv[1], argv[2], argv[3]);
    std::printf("usage: killed MODULE FOLDER OTHER_FOLDER | killed act MODULE CODE SOURCE DESTINATION\n");
    return 2;
}
