// Script commands for the selectors: what the user will do in the next dialog, what the dialog
// showed, and the object's saved selector state in a file.
#include <cstdio>
#include <fstream>

#include "dialog_driver.h"
#include "script_context.h"

namespace {

// answer ok|cancel [filter N] [name TEXT] [files TEXT...] [folder PATH]
CommandResult CommandAnswer(ScriptContext& context, Cursor& cursor) {
    DialogAnswer answer;
    std::string button;
    if (!cursor.TakeWord(button) || (button != "ok" && button != "cancel")) return Fail(context, "ok or cancel expected");
    answer.ok = button == "ok";
    while (!cursor.AtEnd()) {
        std::string option;
        if (!cursor.TakeWord(option)) return Fail(context, cursor.error);
        std::int64_t number = 0;
        if (option == "filter") {
            if (!TakeInteger(context, cursor, number)) return CommandResult{false, false, {}};
            answer.filter = static_cast<int>(number);
        } else if (option == "name") {
            answer.typeName = true;
            if (!TakeText(context, cursor, answer.name)) return CommandResult{false, false, {}};
        } else if (option == "files") {
            // Several names typed as the dialogs take them: each in quotes, separated by a space.
            answer.typeName = true;
            for (std::string file; !cursor.AtEnd() && cursor.Next(TokenKind::Text);) {
                if (!TakeText(context, cursor, file)) return CommandResult{false, false, {}};
                answer.name += (answer.name.empty() ? "\"" : " \"") + file + "\"";
            }
        } else if (option == "folder") {
            answer.pickFolder = true;
            if (!TakeText(context, cursor, answer.folder)) return CommandResult{false, false, {}};
        } else {
            return Fail(context, "filter, name, files or folder expected, not " + option);
        }
    }
    QueueDialogAnswer(answer);
    return CommandResult{};
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : "|") + item;
    return text;
}

// shown found|title|name|filters|multiselect|text|ok-enabled|popup
CommandResult CommandShown(ScriptContext& context, Cursor& cursor) {
    std::string what;
    if (!cursor.TakeWord(what)) return Fail(context, cursor.error);
    const DialogSeen& seen = LastDialogSeen();
    if (what == "found") return Produce(Value::Int(seen.found));
    if (what == "title") return Produce(Value::Str(seen.caption));
    if (what == "name") return Produce(Value::Str(seen.fileName));
    if (what == "filters") return Produce(Value::Str(Joined(seen.filters)));
    if (what == "multiselect") return Produce(Value::Int(seen.multiSelect));
    if (what == "text") return Produce(Value::Str(seen.texts));
    if (what == "ok-enabled") return Produce(Value::Int(seen.okEnabled));
    if (what == "popup") return Produce(Value::Str(seen.popup));
    return Fail(context, "found, title, name, filters, multiselect, text, ok-enabled or popup expected");
}

CommandResult CommandAnswersLeft(ScriptContext&, Cursor&) {
    return Produce(Value::Int(static_cast<std::int64_t>(QueuedDialogAnswers())));
}

// save-state PATH / load-state PATH: the module's answer, the file opened as the host opens it.
CommandResult TransferState(ScriptContext& context, Cursor& cursor, bool save) {
    std::string path;
    if (!TakeText(context, cursor, path)) return CommandResult{false, false, {}};
    HANDLE file = CreateFileA(path.c_str(), save ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                              save ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(context, "cannot open " + path);
    RunData* rd = Current(context).rd;
    const int answer = save ? context.host.api.SaveRunObject(rd, file) : context.host.api.LoadRunObject(rd, file);
    CloseHandle(file);
    return Produce(Value::Int(answer));
}

CommandResult CommandSaveState(ScriptContext& context, Cursor& cursor) {
    return TransferState(context, cursor, true);
}

CommandResult CommandLoadState(ScriptContext& context, Cursor& cursor) {
    return TransferState(context, cursor, false);
}

// poke PATH OFFSET WIDTH VALUE: writes VALUE as a little-endian integer of WIDTH bytes.
CommandResult CommandPoke(ScriptContext& context, Cursor& cursor) {
    std::string path;
    std::int64_t offset = 0, width = 0, value = 0;
    if (!TakeText(context, cursor, path) || !TakeInteger(context, cursor, offset) ||
        !TakeInteger(context, cursor, width) || !TakeInteger(context, cursor, value))
        return CommandResult{false, false, {}};
    if (width < 1 || width > 8) return Fail(context, "a width of 1 to 8 bytes expected");
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return Fail(context, "cannot open " + path);
    file.seekp(offset);
    for (std::int64_t i = 0; i < width; ++i) file.put(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
    if (!file) return Fail(context, "cannot write " + path);
    return CommandResult{};
}

// truncate PATH LENGTH
CommandResult CommandTruncate(ScriptContext& context, Cursor& cursor) {
    std::string path;
    std::int64_t length = 0;
    if (!TakeText(context, cursor, path) || !TakeInteger(context, cursor, length)) return CommandResult{false, false, {}};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(context, "cannot open " + path);
    LARGE_INTEGER end;
    end.QuadPart = length;
    const bool cut = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!cut) return Fail(context, "cannot cut " + path);
    return CommandResult{};
}

CommandResult CommandFileSize(ScriptContext& context, Cursor& cursor) {
    std::string path;
    if (!TakeText(context, cursor, path)) return CommandResult{false, false, {}};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return Produce(Value{});
    return Produce(Value::Int((static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow));
}

constexpr ScriptCommand kSelectorCommands[] = {
    {"answer", CommandAnswer, "answer ok|cancel [filter N] [name TEXT] [files TEXT...] [folder PATH]"},
    {"shown", CommandShown, "shown found|title|name|filters|multiselect|text|ok-enabled|popup [-> EXPECTED]"},
    {"answers-left", CommandAnswersLeft, "answers-left [-> EXPECTED]"},
    {"save-state", CommandSaveState, "save-state PATH [-> EXPECTED]"},
    {"load-state", CommandLoadState, "load-state PATH [-> EXPECTED]"},
    {"poke", CommandPoke, "poke PATH OFFSET WIDTH VALUE"},
    {"truncate", CommandTruncate, "truncate PATH LENGTH"},
    {"file-size", CommandFileSize, "file-size PATH [-> EXPECTED]"},
};

}  // namespace

const std::span<const ScriptCommand> SelectorCommands = kSelectorCommands;
