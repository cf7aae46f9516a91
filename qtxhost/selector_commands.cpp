// Script commands for the selectors: what the user will do in the next dialog.
#include "script_context.h"

const std::span<const ScriptCommand> SelectorCommands = {};
