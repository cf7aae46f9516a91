// Another program on the same disk, as an application has beside it: a logger appending lines, an
// editor holding a file open for writing, a second copy of the application renaming and moving its
// files. Run beside the module by neighbours.sh.
//
//   neighbour append FILE COUNT          appends the lines 1 to COUNT, opening and closing FILE for
//                                        each as a logger does; a line is tried again while FILE is
//                                        held by someone who keeps writers out, never dropped
//   neighbour hold FILE STOP             holds FILE open for writing, sharing reading and writing as
//                                        editors and loggers do, says "held", and adds a byte "w"
//                                        now and then until the file STOP exists
//   neighbour renames MODULE OWN FINAL COUNT
//                                        COUNT times, through the module: renames OWN to FINAL and,
//                                        when that worked, back; fails at once when OWN is lost
//   neighbour moves MODULE FILE STOP     through the module: moves FILE to FILE.1, FILE.2... until
//                                        the file STOP exists, then once more
//
// Each mode but hold says "ready" and then waits for the file "go" in the current directory, so
// that the programs of a race start together however long Wine takes to start each.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/module_api.h"

namespace {

constexpr int RENAME_ACTION = 6;
constexpr int MOVE_ACTION = 9;
constexpr int CLEAR_ACTION = 11;
constexpr char GO_FILE[] = "go";
constexpr DWORD LOGGER_SHARING = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD HOLDER_PAUSE_MS = 2;

bool Exists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

// Says "ready" once its setup is done, then waits for the go.
void WaitForGo() {
    std::printf("ready\n");
    std::fflush(stdout);
    while (!Exists(GO_FILE)) Sleep(1);
}

// One line at the end of the file, as a logger writes it: open, append, close. A file held by a
// mover (a sharing violation) is tried again.
bool AppendLine(const char* name, int number) {
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%d\r\n", number);
    for (;;) {
        HANDLE file = CreateFileA(name, FILE_APPEND_DATA, LOGGER_SHARING, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_SHARING_VIOLATION && GetLastError() != ERROR_ACCESS_DENIED) return false;
            Sleep(0);
            continue;
        }
        DWORD written = 0;
        const bool good = WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr) && written == static_cast<DWORD>(length);
        CloseHandle(file);
        return good;
    }
}

int Append(const char* name, int count) {
    WaitForGo();
    for (int number = 1; number <= count; ++number)
        if (!AppendLine(name, number)) {
            std::printf("append: line %d could not be written (error %lu)\n", number, GetLastError());
            return 1;
        }
    std::printf("append: %d lines\n", count);
    return 0;
}

int Hold(const char* name, const char* stop) {
    HANDLE file = CreateFileA(name, GENERIC_WRITE, LOGGER_SHARING, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("hold: cannot open %s (error %lu)\n", name, GetLastError());
        return 1;
    }
    SetFilePointer(file, 0, nullptr, FILE_END);
    std::printf("held\n");
    std::fflush(stdout);
    for (DWORD written = 0; !Exists(stop); Sleep(HOLDER_PAUSE_MS)) WriteFile(file, "w", 1, &written, nullptr);
    CloseHandle(file);
    return 0;
}

int Renames(const PlainObject& object, const char* own, const char* final, int count) {
    WaitForGo();
    int renamed = 0;
    for (int round = 0; round < count; ++round) {
        if (PlainAction(object, RENAME_ACTION, own, final) == 0) {
            ++renamed;
            const std::uint32_t back = PlainAction(object, RENAME_ACTION, final, own);
            if (back != 0) {
                std::printf("renames %s: round %d, the rename back from %s stored %u\n", own, round, final, back);
                return 1;
            }
        }
        PlainAction(object, CLEAR_ACTION, nullptr);
        if (!Exists(own)) {
            std::printf("renames %s: round %d, the file is gone\n", own, round);
            return 1;
        }
    }
    std::printf("renames %s: %d of %d rounds renamed into %s and back\n", own, renamed, count, final);
    return 0;
}

int Moves(const PlainObject& object, const char* name, const char* stop) {
    WaitForGo();
    int moved = 0, tried = 0;
    for (bool last = false; !last; ++tried) {
        last = Exists(stop);
        const std::string destination = std::string(name) + "." + std::to_string(tried + 1);
        if (PlainAction(object, MOVE_ACTION, name, destination.c_str()) == 0) ++moved;
        PlainAction(object, CLEAR_ACTION, nullptr);
    }
    std::printf("moves: %d of %d moves done\n", moved, tried);
    return 0;
}

int WithObject(const char* module, int (*run)(const PlainObject&, char**), char** arguments) {
    PlainObject object;
    if (!CreatePlainObject(module, object)) {
        std::printf("neighbour: cannot load and create the object of %s\n", module);
        return 2;
    }
    const int status = run(object, arguments);
    DestroyPlainObject(object);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "append" && argc == 4) return Append(argv[2], std::atoi(argv[3]));
    if (mode == "hold" && argc == 4) return Hold(argv[2], argv[3]);
    if (mode == "renames" && argc == 6)
        return WithObject(argv[2], [](const PlainObject& o, char** a) { return Renames(o, a[0], a[1], std::atoi(a[2])); }, argv + 3);
    if (mode == "moves" && argc == 5)
        return WithObject(argv[2], [](const PlainObject& o, char** a) { return Moves(o, a[0], a[1]); }, argv + 3);
    std::printf("usage: neighbour append FILE COUNT | hold FILE STOP | renames MODULE OWN FINAL COUNT | moves MODULE FILE STOP\n");
    return 2;
}
