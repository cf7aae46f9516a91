// The host's own script commands: objects, files and folders, the editor's view, records.
#include <direct.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "guarded_memory.h"
#include "script_context.h"

namespace {

constexpr std::size_t DEFAULT_TEXT_BUFFER = 256;
constexpr char UNTOUCHED[] = "(untouched)";




bool TakeKind(ScriptContext& context, Cursor& cursor, EntryKind& kind) {
    std::string word;
    if (!cursor.TakeWord(word)) return false;
    for (int k = 0; k < ENTRY_KINDS; ++k)
        if (word == KindName(static_cast<EntryKind>(k))) {
            kind = static_cast<EntryKind>(k);
            return true;
        }
    context.error = "condition, action or expression expected, not " + word;
    return false;
}

// An optional "size N" for the buffer handed to a text export; the buffer ends at a guard page.
bool TakeBufferSize(ScriptContext& context, Cursor& cursor, std::size_t& size) {
    size = DEFAULT_TEXT_BUFFER;
    if (!cursor.NextWord("size")) return true;
    ++cursor.pos;
    std::int64_t number = 0;
    if (!TakeInteger(context, cursor, number)) return false;
    size = static_cast<std::size_t>(number);
    return true;
}

// A guarded buffer pre-filled with "(untouched)" so that a text left alone shows as such.
char* TextBuffer(std::size_t size) {
    auto* buffer = static_cast<char*>(GuardedAlloc(size));
    if (size > 0) {
        const std::size_t fill = std::min(size - 1, sizeof(UNTOUCHED) - 1);
        std::memcpy(buffer, UNTOUCHED, fill);
        buffer[fill] = '\0';
    }
    return buffer;
}

CommandResult TextOf(char* buffer, std::size_t size) {
    Value value = Value::Str(std::string(buffer, strnlen(buffer, size)));
    GuardedFree(buffer);
    return Produce(value);
}

CommandResult CommandDisplay(ScriptContext& context, Cursor& cursor) {
    EntryKind kind;
    std::int64_t code = 0;
    std::size_t size = 0;
    if (!TakeKind(context, cursor, kind) || !TakeInteger(context, cursor, code) || !TakeBufferSize(context, cursor, size))
        return Failed();
    char* buffer = TextBuffer(size);
    context.host.api.GetString[static_cast<int>(kind)](context.host.editorHost, code, buffer, size);
    return TextOf(buffer, size);
}

CommandResult CommandTitle(ScriptContext& context, Cursor& cursor) {
    EntryKind kind;
    std::int64_t code = 0, index = 0;
    std::size_t size = 0;
    if (!TakeKind(context, cursor, kind) || !TakeInteger(context, cursor, code)) return Failed();
    if (kind != EntryKind::Expression && !TakeInteger(context, cursor, index)) return Failed();
    if (!TakeBufferSize(context, cursor, size)) return Failed();
    char* buffer = TextBuffer(size);
    if (kind == EntryKind::Expression)
        context.host.api.GetExpressionTitle(0, code, buffer, size);
    else
        context.host.api.GetTitle[static_cast<int>(kind)](0, code, index, buffer, size);
    return TextOf(buffer, size);
}

CommandResult CommandParam(ScriptContext& context, Cursor& cursor) {
    std::int64_t code = 0, index = 0;
    std::size_t size = 0;
    if (!TakeInteger(context, cursor, code) || !TakeInteger(context, cursor, index) || !TakeBufferSize(context, cursor, size))
        return Failed();
    char* buffer = TextBuffer(size);
    context.host.api.GetExpressionParam(0, code, index, buffer, size);
    return TextOf(buffer, size);
}

CommandResult CommandMenuCode(ScriptContext& context, Cursor& cursor) {
    EntryKind kind;
    std::int64_t id = 0;
    if (!TakeKind(context, cursor, kind) || !TakeInteger(context, cursor, id)) return Failed();
    return Produce(Value::Int(context.host.api.GetCodeFromMenu[static_cast<int>(kind)](0, id)));
}

CommandResult CommandInfos(ScriptContext& context, Cursor& cursor) {
    EntryKind kind;
    std::int64_t code = 0;
    if (!TakeKind(context, cursor, kind) || !TakeInteger(context, cursor, code)) return Failed();
    const std::uint16_t* row = context.host.api.GetInfosOf[static_cast<int>(kind)](0, code);
    if (!row) return Produce(Value{});
    char text[96];
    std::snprintf(text, sizeof text, "code %u flags 0x%04X types %u %u titles %u %u", row[0], row[1], row[2], row[3],
                  row[4], row[5]);
    return Produce(Value::Str(text));
}

CommandResult CommandCreateObject(ScriptContext& context, Cursor&) {
    EditData* edit = static_cast<EditData*>(GuardedAlloc(sizeof(EditData)));
    const int answer = context.host.api.CreateObject(context.host.editorHost, 0, edit);
    context.shown = "CreateObject: object " + std::to_string(edit->width) + " x " + std::to_string(edit->height);
    GuardedFree(edit);
    return Produce(Value::Int(answer));
}

CommandResult CommandHostVersion(ScriptContext& context, Cursor& cursor) {
    if (cursor.NextWord("none")) {
        ++cursor.pos;
        SetHostVersion(context.host, false, 0);
        return CommandResult{};
    }
    std::int64_t version = 0;
    if (!TakeInteger(context, cursor, version)) return Failed();
    SetHostVersion(context.host, true, static_cast<std::uint32_t>(version));
    return CommandResult{};
}


CommandResult CommandTempStrings(ScriptContext& context, Cursor& cursor) {
    bool on = true;
    if (!TakeOnOff(context, cursor, on)) return Failed();
    context.host.tempStringsAvailable = on;
    return CommandResult{};
}

CommandResult CommandNoHook(ScriptContext& context, Cursor& cursor) {
    bool on = false;
    if (!TakeOnOff(context, cursor, on)) return Failed();
    std::uint8_t& flags = context.host.appHeader[APP_HEADER_NO_HOOK_BYTE];
    flags = on ? (flags | APP_HEADER_NO_HOOK_BIT) : (flags & ~APP_HEADER_NO_HOOK_BIT);
    return CommandResult{};
}

CommandResult CommandObject(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    if (FindHostObject(context.host, name)) return Fail(context, "an object " + name + " exists already");
    CreateHostObject(context.host, name);
    return CommandResult{};
}

CommandResult CommandUse(ScriptContext& context, Cursor& cursor) {
    std::string name;
    std::size_t index = 0;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    if (!FindHostObject(context.host, name, &index)) return Fail(context, "no object " + name);
    context.host.current = index;
    return CommandResult{};
}

CommandResult CommandDestroy(ScriptContext& context, Cursor& cursor) {
    std::size_t index = context.host.current;
    std::string name;
    if (!cursor.AtEnd()) {
        if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
        if (!FindHostObject(context.host, name, &index)) return Fail(context, "no object " + name);
    }
    if (context.host.objects.empty()) return Fail(context, "no object to destroy");
    DestroyHostObject(context.host, index);
    return CommandResult{};
}

CommandResult CommandCd(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    if (_chdir(path.c_str()) != 0) return Fail(context, "cannot enter " + path);
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
        return Fail(context, "cannot create " + path);
    return CommandResult{};
}

CommandResult CommandWrite(ScriptContext& context, Cursor& cursor) {
    std::string path, content;
    if (!TakeText(context, cursor, path) || !TakeText(context, cursor, content)) return Failed();
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) return Fail(context, "cannot write " + path);
    return CommandResult{};
}

CommandResult CommandFile(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
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

CommandResult CommandSet(ScriptContext& context, Cursor& cursor) {
    std::string name;
    Value value;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    if (!TakeValue(context, cursor, value)) return Failed();
    context.variables[name] = value;
    return CommandResult{};
}

CommandResult CommandEcho(ScriptContext& context, Cursor& cursor) {
    std::string line;
    while (!cursor.AtEnd()) {
        Value value;
        if (!TakeValue(context, cursor, value)) return Failed();
        if (!line.empty()) line += ' ';
        line += value.kind == Value::Kind::Text ? value.text : Show(value);
    }
    context.shown = line;
    return CommandResult{};
}

// The text fields of the record as the object left them; NULs inside a list show as '|'.
std::string ListText(const char* field, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (field[i] == '\0' && (i + 1 >= size || field[i + 1] == '\0')) break;
        text += field[i] ? field[i] : '|';
    }
    return text;
}

CommandResult CommandField(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    const RunData& rd = *Current(context).rd;
    if (name == "lastError") return Produce(Value::Int(rd.lastError));
    if (name == "filterIndex") return Produce(Value::Int(rd.filterIndex));
    if (name == "multiSelect") return Produce(Value::Int(rd.multiSelect));
    if (name == "selectorStyle") return Produce(Value::Int(rd.selectorStyle));
    if (name == "selectorBufferSize") return Produce(Value::Int(rd.selectorBufferSize));
    if (name == "selectorTitle") return Produce(Value::Str(std::string(rd.selectorTitle, strnlen(rd.selectorTitle, sizeof rd.selectorTitle))));
    if (name == "defaultExtension") return Produce(Value::Str(std::string(rd.defaultExtension, strnlen(rd.defaultExtension, sizeof rd.defaultExtension))));
    if (name == "initialDirectory") return Produce(Value::Str(std::string(rd.initialDirectory, strnlen(rd.initialDirectory, sizeof rd.initialDirectory))));
    if (name == "workPath") return Produce(rd.workPath ? Value::Str(std::string(rd.workPath, strnlen(rd.workPath, PATH_BUFFER_SIZE))) : Value{});
    if (name == "filterList") return Produce(Value::Str(ListText(rd.filterList, sizeof rd.filterList)));
    return Fail(context, "no field " + name);
}

CommandResult CommandLastLaunch(ScriptContext& context, Cursor&) {
    if (context.host.launches.empty()) return Produce(Value{});
    const LaunchRecord& record = context.host.launches.back();
    return Produce(Value::Str("flags=" + std::to_string(record.flags) + " program=" + record.programName +
                            " command=" + record.commandLine));
}

CommandResult CommandLaunchResult(ScriptContext& context, Cursor& cursor) {
    std::int64_t result = 0;
    if (!TakeInteger(context, cursor, result)) return Failed();
    context.host.launchResult = static_cast<std::int32_t>(result);
    return CommandResult{};
}

CommandResult CommandLaunchMode(ScriptContext& context, Cursor& cursor) {
    std::string word;
    if (!cursor.TakeWord(word) || (word != "record" && word != "start")) return Fail(context, "record or start expected");
    context.host.launchMode = word == "start" ? LaunchMode::Start : LaunchMode::Record;
    return CommandResult{};
}

constexpr ScriptCommand COMMANDS[] = {
    {"condition", RunCondition, "condition ENTRY [PARAMETER...] [-> EXPECTED]"},
    {"action", RunAction, "action ENTRY [PARAMETER...]"},
    {"expression", RunExpression, "expression ENTRY [PARAMETER] [-> EXPECTED]"},
    {"object", CommandObject, "object NAME (create an object and make it current)"},
    {"use", CommandUse, "use NAME"},
    {"destroy", CommandDestroy, "destroy [NAME]"},
    {"cd", CommandCd, "cd PATH"},
    {"cwd", CommandCwd, "cwd [-> EXPECTED]"},
    {"mkdir", CommandMkdir, "mkdir PATH"},
    {"write", CommandWrite, "write PATH TEXT"},
    {"file", CommandFile, "file PATH [-> EXPECTED] (content, null when missing)"},
    {"exists", CommandExists, "exists PATH [-> EXPECTED]"},
    {"echo", CommandEcho, "echo VALUE..."},
    {"set", CommandSet, "set NAME VALUE"},
    {"field", CommandField, "field NAME [-> EXPECTED]"},
    {"display", CommandDisplay, "display KIND CODE [size N] [-> EXPECTED]"},
    {"title", CommandTitle, "title KIND CODE [INDEX] [size N] [-> EXPECTED]"},
    {"param", CommandParam, "param CODE INDEX [size N] [-> EXPECTED]"},
    {"menucode", CommandMenuCode, "menucode KIND ID [-> EXPECTED]"},
    {"infos", CommandInfos, "infos KIND CODE [-> EXPECTED]"},
    {"create-object", CommandCreateObject, "create-object [-> EXPECTED]"},
    {"host-version", CommandHostVersion, "host-version NUMBER|none"},
    {"temp-strings", CommandTempStrings, "temp-strings on|off"},
    {"no-hook", CommandNoHook, "no-hook on|off"},
    {"launch-result", CommandLaunchResult, "launch-result NUMBER"},
    {"last-launch", CommandLastLaunch, "last-launch [-> EXPECTED]"},
    {"launch-mode", CommandLaunchMode, "launch-mode record|start"},
};

}  // namespace

bool TakeValue(ScriptContext& context, Cursor& cursor, Value& value) {
    if (cursor.TakeValue(value)) return true;
    context.error = cursor.error;
    return false;
}

bool TakeText(ScriptContext& context, Cursor& cursor, std::string& text) {
    Value value;
    if (!TakeValue(context, cursor, value)) return false;
    if (value.kind != Value::Kind::Text) {
        context.error = "a text is expected";
        return false;
    }
    text = value.text;
    return true;
}

bool TakeInteger(ScriptContext& context, Cursor& cursor, std::int64_t& number) {
    if (cursor.TakeInteger(number)) return true;
    context.error = cursor.error;
    return false;
}

bool TakeOnOff(ScriptContext& context, Cursor& cursor, bool& on) {
    std::string word;
    if (!cursor.TakeWord(word) || (word != "on" && word != "off")) {
        context.error = "on or off expected";
        return false;
    }
    on = word == "on";
    return true;
}

CommandResult Fail(ScriptContext& context, const std::string& message) {
    context.error = message;
    return Failed();
}

CommandResult Failed() {
    return CommandResult{false, false, {}};
}

CommandResult Produce(Value value) {
    return CommandResult{true, true, std::move(value)};
}

HostObject& Current(ScriptContext& context) {
    if (context.host.objects.empty()) CreateHostObject(context.host, "main");
    return *CurrentObject(context.host);
}

const std::span<const ScriptCommand> HostCommands = COMMANDS;

const ScriptCommand* FindCommand(const std::string& name) {
    for (const std::span<const ScriptCommand>& table : {HostCommands, FileCommands, SelectorCommands, SystemCommands})
        for (const ScriptCommand& command : table)
            if (name == command.name) return &command;
    return nullptr;
}
