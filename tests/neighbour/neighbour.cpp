// Another program on the same disk, as the tests need one: it does one thing to a file as
// editors, loggers and backup tools do, writes "ready" on its output once it does, and keeps at
// it until its input ends. qtxhost's "neighbour" command starts it, waits for "ready" and ends it.
//
//   neighbour hold PATH     holds PATH open for reading and writing, sharing both with others
#include <windows.h>
#include <cstdio>
#include <cstring>

namespace {

void SayReady() {
    std::printf("ready\n");
    std::fflush(stdout);
}

// Returns once the host closed its end of the input (or ended).
void WaitForInputEnd() {
    char byte = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got) {
    }
}

int Hold(char** arguments) {
    HANDLE file = CreateFileA(arguments[0], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("cannot open %s (error %lu)\n", arguments[0], GetLastError());
        return 1;
    }
    SayReady();
    WaitForInputEnd();
    CloseHandle(file);
    return 0;
}

struct Subcommand {
    const char* name;
    int argumentCount;
    int (*run)(char** arguments);
};

constexpr Subcommand SUBCOMMANDS[] = {
    {"hold", 1, Hold},
};

}  // namespace

int main(int argc, char** argv) {
    for (const Subcommand& subcommand : SUBCOMMANDS)
        if (argc == subcommand.argumentCount + 2 && std::strcmp(argv[1], subcommand.name) == 0)
            return subcommand.run(argv + 2);
    std::printf("usage: neighbour hold PATH\n");
    return 2;
}
