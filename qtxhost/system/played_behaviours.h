// The Windows that Wine is not: behaviours the host plays at the module's own calls (its
// imports and the functions it looks up at run time), each row of one table naming the calls it
// replaces and where Microsoft documents the real behaviour (docs/qtxhost.md lists them). A row
// is switched on by the running Windows (95, 98 and ME) or by the script (`play NAME on|off`).
#pragma once

#include <windows.h>
#include <string>

// Routes the module's calls through the host and plays what the running Windows calls for.
bool StartPlayedBehaviours(HMODULE module, std::string& error);

// What the host plays for the Windows version that the running Windows reports (95, 98, ME or
// NT 4.0), as a line to print; null when it plays none.
const char* PlayedVersion();

// `play NAME on|off`; false with a reason for a name the script does not switch.
bool SwitchPlayedBehaviour(const std::string& name, bool on, std::string& error);

// The creation time the played file system keeps for the file at path from now on. False when
// that file system is not played (or the file cannot be opened): nothing is kept.
bool KeepCreationTime(const char* path, const FILETIME& created);
