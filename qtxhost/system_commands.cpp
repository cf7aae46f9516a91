// Script commands about the process the module runs in and what runs beside it: its
// environment, its error mode, pipes it serves, the behaviours it plays, programs beside it.
#include <cstdlib>
#include <vector>

#include "played_behaviours.h"
#include "script_context.h"

namespace {

CommandResult CommandEnv(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    const char* value = std::getenv(name.c_str());
    return Produce(value ? Value::Str(value) : Value{});
}

// setenv NAME TEXT: the process's environment, as the platform reads it (the temporary folder).
CommandResult CommandSetEnv(ScriptContext& context, Cursor& cursor) {
    std::string name, value;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    if (!TakeText(context, cursor, value)) return Failed();
    if (!SetEnvironmentVariableA(name.c_str(), value.c_str())) return Fail(context, "cannot set " + name);
    return CommandResult{};
}

// pipe-server NAME: serves the pipe \\.\pipe\NAME until the host ends, and neither reads nor
// writes it; its 16-byte buffers fill at once, so a writer that waits for room waits for ever.
CommandResult CommandPipeServer(ScriptContext& context, Cursor& cursor) {
    constexpr DWORD BUFFER_BYTES = 16;
    std::string name;
    if (!TakeText(context, cursor, name)) return Failed();
    const std::string path = "\\\\.\\pipe\\" + name;
    HANDLE pipe = CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                   PIPE_UNLIMITED_INSTANCES, BUFFER_BYTES, BUFFER_BYTES, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return Fail(context, "cannot serve " + path);
    return CommandResult{};   // the handle stays open until the process ends
}

// "error-mode" gives the process's error mode; "error-mode N" sets it first.
CommandResult CommandErrorMode(ScriptContext& context, Cursor& cursor) {
    if (!cursor.AtEnd()) {
        std::int64_t mode = 0;
        if (!TakeInteger(context, cursor, mode)) return Failed();
        SetErrorMode(static_cast<UINT>(mode));
    }
    const UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return Produce(Value::Int(mode));
}

// play NAME on|off: a behaviour of Windows that Wine lacks, played at the module's calls.
CommandResult CommandPlay(ScriptContext& context, Cursor& cursor) {
    std::string name;
    bool on = false;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    if (!TakeOnOff(context, cursor, on)) return Failed();
    std::string error;
    if (!SwitchPlayedBehaviour(name, on, error)) return Fail(context, error);
    return CommandResult{};
}

// A program started beside the host (neighbour.exe, beside qtxhost.exe): it says "ready" once it
// does what it was asked, and keeps at it until its input ends.
struct Neighbour {
    PROCESS_INFORMATION process;
    HANDLE input;      // the host's end of the neighbour's input
    HANDLE output;     // the host's end of the neighbour's output
};

std::vector<Neighbour> neighbours;
constexpr char NEIGHBOUR_PROGRAM[] = "neighbour.exe";
constexpr char READY[] = "ready";

std::string NeighbourPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string own = path;
    return own.substr(0, own.find_last_of('\\') + 1) + NEIGHBOUR_PROGRAM;
}

// One line of the neighbour's output, without its line end; false when the output ended first.
bool ReadLine(HANDLE output, std::string& line) {
    line.clear();
    char byte = 0;
    DWORD got = 0;
    while (ReadFile(output, &byte, 1, &got, nullptr) && got) {
        if (byte == '\n') return true;
        if (byte != '\r') line += byte;
    }
    return false;
}

bool StartNeighbour(const std::string& commandLine, Neighbour& neighbour, std::string& error) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE theirInput = nullptr, theirOutput = nullptr;
    if (!CreatePipe(&theirInput, &neighbour.input, &inherited, 0) || !CreatePipe(&neighbour.output, &theirOutput, &inherited, 0)) {
        error = "cannot make pipes for a neighbour";
        return false;
    }
    SetHandleInformation(neighbour.input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(neighbour.output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = theirInput;
    startup.hStdOutput = startup.hStdError = theirOutput;
    std::string line = commandLine;
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &neighbour.process);
    CloseHandle(theirInput);
    CloseHandle(theirOutput);
    if (!started) error = "cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")";
    return started;
}

// Closes the neighbour's input, then waits for it to end; what it wrote meanwhile.
std::string EndNeighbour(Neighbour& neighbour) {
    CloseHandle(neighbour.input);
    std::string said, line;
    while (ReadLine(neighbour.output, line)) said += (said.empty() ? "" : "|") + line;
    WaitForSingleObject(neighbour.process.hProcess, INFINITE);
    CloseHandle(neighbour.output);
    CloseHandle(neighbour.process.hProcess);
    CloseHandle(neighbour.process.hThread);
    return said;
}

// "neighbour WHAT ARGUMENT..." starts neighbour.exe WHAT ARGUMENT... and waits for its "ready";
// "neighbour end" ends every neighbour and gives what they said after it (joined with |).
CommandResult CommandNeighbour(ScriptContext& context, Cursor& cursor) {
    std::string what;
    if (!cursor.TakeWord(what)) return Fail(context, cursor.error);
    if (what == "end") {
        std::string said;
        for (Neighbour& neighbour : neighbours) said += EndNeighbour(neighbour);
        neighbours.clear();
        return Produce(Value::Str(said));
    }
    std::string commandLine(1, '"');
    commandLine.append(NeighbourPath()).append("\" ").append(what);
    while (!cursor.AtEnd()) {
        std::string argument;
        if (!TakeText(context, cursor, argument)) return Failed();
        if (argument.find('"') != std::string::npos) return Fail(context, "a neighbour's argument holds no quote");
        commandLine += " \"" + argument + "\"";
    }
    Neighbour neighbour{};
    std::string error, first;
    if (!StartNeighbour(commandLine, neighbour, error)) return Fail(context, error);
    const bool ready = ReadLine(neighbour.output, first) && first == READY;
    neighbours.push_back(neighbour);
    if (!ready) return Fail(context, "the neighbour " + what + " said \"" + first + "\", not \"ready\"");
    return CommandResult{};
}

constexpr ScriptCommand SYSTEM_COMMANDS[] = {
    {"env", CommandEnv, "env NAME [-> EXPECTED] (an environment variable, null when unset)"},
    {"error-mode", CommandErrorMode, "error-mode [N] [-> EXPECTED]"},
    {"setenv", CommandSetEnv, "setenv NAME TEXT"},
    {"pipe-server", CommandPipeServer, "pipe-server NAME (serves \\\\.\\pipe\\NAME, reading and writing nothing)"},
    {"play", CommandPlay, "play creation-times|empty-drives on|off"},
    {"neighbour", CommandNeighbour, "neighbour WHAT [ARGUMENT...] | neighbour end [-> EXPECTED]"},
};

}  // namespace

const std::span<const ScriptCommand> SystemCommands = SYSTEM_COMMANDS;

void EndNeighbours() {
    for (Neighbour& neighbour : neighbours) EndNeighbour(neighbour);
    neighbours.clear();
}
