// Script commands for the selectors: what the user will do in the next dialog, what the dialog
// showed, and the object's saved selector state in a file.
#include <cstdio>

#include "system/dialog_driver.h"
#include "script/script_context.h"

namespace {

// answer ok|cancel [filter N] [name TEXT] [files TEXT...] [folder PATH]
CommandResult CommandAnswer(ScriptContext& context, Cursor& cursor) {
    DialogAnswer answer;
    std::string button;
    if (!cursor.TakeWord(button) || (button != "ok" && button != "cancel")) return Fail(context, "ok or cancel expected");
    answer.ok = button == "ok";
    while (!cursor.AtEnd()) {
        std::string option;
        if (!TakeWord(context, cursor, option)) return Failed();
        std::int64_t number = 0;
        if (option == "filter") {
            if (!TakeInteger(context, cursor, number)) return Failed();
            answer.filter = static_cast<int>(number);
        } else if (option == "name") {
            answer.typeName = true;
            if (!TakeText(context, cursor, answer.name)) return Failed();
        } else if (option == "files") {
            // Several names typed as the dialogs take them: each in quotes, separated by a space.
            answer.typeName = true;
            for (std::string file; !cursor.AtEnd() && cursor.Next(TokenKind::TEXT);) {
                if (!TakeText(context, cursor, file)) return Failed();
                answer.name += (answer.name.empty() ? "\"" : " \"") + file + "\"";
            }
        } else if (option == "folder") {
            answer.pickFolder = true;
            if (!TakeText(context, cursor, answer.folder)) return Failed();
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

// shown found|title|name|filters|multiselect|text|ok-enabled|hook|popup
CommandResult CommandShown(ScriptContext& context, Cursor& cursor) {
    std::string what;
    if (!TakeWord(context, cursor, what)) return Failed();
    const DialogSeen& seen = LastDialogSeen();
    if (what == "found") return Produce(Value::Int(seen.found));
    if (what == "title") return Produce(Value::Str(seen.caption));
    if (what == "name") return Produce(Value::Str(seen.fileName));
    if (what == "filters") return Produce(Value::Str(Joined(seen.filters)));
    if (what == "multiselect") return Produce(Value::Int(seen.multiSelect));
    if (what == "text") return Produce(Value::Str(seen.texts));
    if (what == "ok-enabled") return Produce(Value::Int(seen.okEnabled));
    if (what == "hook") return Produce(Value::Int(seen.hookPage));
    if (what == "popup") return Produce(Value::Str(seen.popup));
    return Fail(context, "found, title, name, filters, multiselect, text, ok-enabled, hook or popup expected");
}

CommandResult CommandAnswersLeft(ScriptContext&, Cursor&) {
    return Produce(Value::Int(static_cast<std::int64_t>(QueuedDialogAnswers())));
}

// save-state PATH / load-state PATH: the module's answer, the file opened as the host opens it.
CommandResult TransferState(ScriptContext& context, Cursor& cursor, bool save) {
    std::string path;
    if (!TakeText(context, cursor, path)) return Failed();
    HANDLE file = CreateFileA(path.c_str(), save ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                              save ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSaying(context, "cannot open " + path);
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

constexpr ScriptCommand SELECTOR_COMMANDS[] = {
    {"answer", CommandAnswer},
    {"shown", CommandShown},
    {"answers-left", CommandAnswersLeft},
    {"save-state", CommandSaveState},
    {"load-state", CommandLoadState},
};

}  // namespace

const std::span<const ScriptCommand> SelectorCommands = SELECTOR_COMMANDS;
