// Calling one condition, action or expression through the routine tables, as the host does.
#pragma once

#include <vector>

#include "runtime/catalogue_view.h"
#include "runtime/script_values.h"

// Strings are passed as guarded copies, integers as 32-bit values, null as a null pointer.
// Conditions give 1 or 0, expressions an integer or a text, actions null. Breaches of the
// host protocol (STRING_RESULT, unpaired dialog services, a nonzero action result) are
// added to host.protocolErrors.
Value InvokeEntry(Host& host, const RunInfos& infos, RunData* rd, const CatalogueEntry& entry,
                  const std::vector<Value>& args);

// The call as the sweep's report shows it, by number: action 8 "01Copy %s to %s"("a.txt", "b.txt").
std::string ShowCall(const CatalogueEntry& entry, const std::vector<Value>& args);

// The call as the editor and the help write it: Copy "a.txt" to "b.txt", File: Last action OK,
// Sizeof("a.txt"), LastError( ).
std::string WrittenCall(const CatalogueEntry& entry, const std::vector<Value>& args, const std::string& objectName);
