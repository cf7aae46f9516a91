// Script commands that play the authoring host's editor: the display strings, titles, menus and
// descriptor rows it reads, the edit-time record it has made, and the version it reports.
#include <cstdio>
#include <cstring>

#include "system/guarded_memory.h"
#include "script/script_context.h"

namespace {

constexpr std::size_t DEFAULT_TEXT_BUFFER = 256;
constexpr char UNTOUCHED[] = "(untouched)";

bool TakeKind(ScriptContext& context, Cursor& cursor, EntryKind& kind) {
    std::string word;
    if (!cursor.TakeWord(word)) return false;
    for (const EntryKind each : ENTRY_KINDS)
        if (word == KindName(each)) {
            kind = each;
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
    context.host.api.GetString[kind](context.host.editorHost, code, buffer, size);
    return TextOf(buffer, size);
}

CommandResult CommandTitle(ScriptContext& context, Cursor& cursor) {
    EntryKind kind;
    std::int64_t code = 0, index = 0;
    std::size_t size = 0;
    if (!TakeKind(context, cursor, kind) || !TakeInteger(context, cursor, code)) return Failed();
    if (kind != EntryKind::EXPRESSION && !TakeInteger(context, cursor, index)) return Failed();
    if (!TakeBufferSize(context, cursor, size)) return Failed();
    char* buffer = TextBuffer(size);
    if (kind == EntryKind::EXPRESSION)
        context.host.api.GetExpressionTitle(0, code, buffer, size);
    else
        context.host.api.GetTitle[kind](0, code, index, buffer, size);
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
    return Produce(Value::Int(context.host.api.GetCodeFromMenu[kind](0, id)));
}

CommandResult CommandInfos(ScriptContext& context, Cursor& cursor) {
    EntryKind kind;
    std::int64_t code = 0;
    if (!TakeKind(context, cursor, kind) || !TakeInteger(context, cursor, code)) return Failed();
    const std::uint16_t* row = context.host.api.GetInfosOf[kind](0, code);
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

constexpr ScriptCommand EDITOR_COMMANDS[] = {
    {"display", CommandDisplay},
    {"title", CommandTitle},
    {"param", CommandParam},
    {"menucode", CommandMenuCode},
    {"infos", CommandInfos},
    {"create-object", CommandCreateObject},
    {"host-version", CommandHostVersion},
};

}  // namespace

const std::span<const ScriptCommand> EditorCommands = EDITOR_COMMANDS;
