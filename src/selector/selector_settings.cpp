// Actions that set up the load and save selectors, and the expressions that belong to them.
#include <cstring>

#include "selector/selector_buffer.h"
#include "selector/selector_settings.h"
#include "state/host_services.h"
#include "state/name_characters.h"
#include "state/run_object.h"

namespace {

// Bytes each text keeps at most, every cut falling between two characters (CopyCharacters).
constexpr std::size_t TITLE_LENGTH = SELECTOR_TITLE_SIZE - 1;
constexpr std::size_t EXTENSION_LENGTH = DEFAULT_EXTENSION_SIZE - 1;
constexpr std::size_t FILTER_COPY_LENGTH = 297;      // leaves room for the list's two ending NULs

void SetSelectionMode(RunData* rd, std::uint32_t mode) {
    rd->multiSelect = mode;
    EmptySelectorResult(rd);
}

}  // namespace

const char* ShownSetting(char* copy, const char* field, std::size_t fieldSize) {
    CopyCharacters(copy, field, fieldSize);
    return copy[0] ? copy : nullptr;
}

extern "C" HostWord WINAPI ActionSetTitle(RunData* rd, HostWord text, HostWord) {
    CopyCharacters(rd->selectorTitle, TextParameter(text), TITLE_LENGTH);
    return 0;
}

extern "C" HostWord WINAPI ActionSetStyle(RunData* rd, HostWord style, HostWord) {
    rd->selectorStyle |= static_cast<std::uint32_t>(style);
    return 0;
}

extern "C" HostWord WINAPI ActionSetDefaultStyle(RunData* rd, HostWord, HostWord) {
    rd->selectorStyle = 0;
    return 0;
}

// The '|'-separated text becomes NUL-separated strings ended by an empty string; no text
// restores "All files", "*.*". The index is stored as given: the dialogs count from 1.
extern "C" HostWord WINAPI ActionSetExtensionFilter(RunData* rd, HostWord text, HostWord index) {
    const char* filters = TextParameter(text);
    if (!filters) {
        std::memcpy(rd->filterList, DEFAULT_FILTER_TEXT, sizeof(DEFAULT_FILTER_TEXT));
    } else {
        CopyCharacters(rd->filterList, filters, FILTER_COPY_LENGTH);
    }
    SplitFilterList(rd->filterList)[1] = '\0';   // one more NUL ends the list
    rd->filterIndex = static_cast<std::int32_t>(index);
    return 0;
}

extern "C" HostWord WINAPI ActionSetDefaultExtension(RunData* rd, HostWord text, HostWord) {
    CopyCharacters(rd->defaultExtension, TextParameter(text), EXTENSION_LENGTH);
    return 0;
}

// Changing the selection mode empties the last result, whatever the mode was.
extern "C" HostWord WINAPI ActionSingleSelection(RunData* rd, HostWord, HostWord) {
    SetSelectionMode(rd, 0);
    return 0;
}

extern "C" HostWord WINAPI ActionMultipleSelection(RunData* rd, HostWord, HostWord) {
    SetSelectionMode(rd, 1);
    return 0;
}

extern "C" HostWord WINAPI ExpressionAllowCreatePrompt(RunData*, HostWord) {
    return STYLE_ALLOW_CREATE_PROMPT;
}

extern "C" HostWord WINAPI ExpressionAllowBadFile(RunData*, HostWord) {
    return STYLE_ALLOW_BAD_FILE;
}

extern "C" HostWord WINAPI ExpressionAllowChangeDir(RunData*, HostWord) {
    return STYLE_ALLOW_CHANGE_DIR;
}

extern "C" HostWord WINAPI ExpressionNoNetwork(RunData*, HostWord) {
    return STYLE_NO_NETWORK;
}

extern "C" HostWord WINAPI ExpressionNoOverwritePrompt(RunData*, HostWord) {
    return STYLE_NO_OVERWRITE_PROMPT;
}

extern "C" HostWord WINAPI ExpressionAllowBadPath(RunData*, HostWord) {
    return STYLE_ALLOW_BAD_PATH;
}

extern "C" HostWord WINAPI ExpressionGetDefaultFilter(RunData* rd, HostWord) {
    return rd->filterIndex;
}
