// The selector settings: title, style, filters, default extension, selection mode, and the
// integer expressions that name the style bits and read the filter index.
#pragma once

#include "state/run_data.h"

// Style bits of the load and save selectors, each also the value of an expression.
constexpr std::uint32_t STYLE_ALLOW_CREATE_PROMPT = 1;
constexpr std::uint32_t STYLE_ALLOW_BAD_FILE = 2;
constexpr std::uint32_t STYLE_ALLOW_CHANGE_DIR = 4;
constexpr std::uint32_t STYLE_NO_NETWORK = 8;
constexpr std::uint32_t STYLE_NO_OVERWRITE_PROMPT = 16;
constexpr std::uint32_t STYLE_ALLOW_BAD_PATH = 32;

// A setting as the dialogs show it: the field's text ended at the field's end at the latest (a
// loaded state need not end it), cut between characters, in copy, which is one byte longer than
// the field. Null when the text is empty.
const char* ShownSetting(char* copy, const char* field, std::size_t fieldSize);

extern "C" HostWord WINAPI ActionSetTitle(RunData* rd, HostWord text, HostWord unused);
extern "C" HostWord WINAPI ActionSetStyle(RunData* rd, HostWord style, HostWord unused);
extern "C" HostWord WINAPI ActionSetDefaultStyle(RunData* rd, HostWord unused1, HostWord unused2);
extern "C" HostWord WINAPI ActionSetExtensionFilter(RunData* rd, HostWord text, HostWord index);
extern "C" HostWord WINAPI ActionSetDefaultExtension(RunData* rd, HostWord text, HostWord unused);
extern "C" HostWord WINAPI ActionSingleSelection(RunData* rd, HostWord unused1, HostWord unused2);
extern "C" HostWord WINAPI ActionMultipleSelection(RunData* rd, HostWord unused1, HostWord unused2);

extern "C" HostWord WINAPI ExpressionAllowCreatePrompt(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionAllowBadFile(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionAllowChangeDir(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionNoNetwork(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionNoOverwritePrompt(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionAllowBadPath(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionGetDefaultFilter(RunData* rd, HostWord token);
