// Calls into the host's services, and the string-result rule every string expression follows.
#pragma once

#include "state/run_data.h"

// The module's constant empty string: the answer of a string expression that has nothing better.
HostWord StaticEmptyString();

// Sets STRING_RESULT in hostFlags; a string expression does this on every path it returns by.
void SetStringResult(RunData* rd);

// Sets STRING_RESULT and returns the static empty string.
HostWord EmptyStringResult(RunData* rd);

// A result buffer of size bytes from the host, already made the empty string; null when the
// host has none.
char* EmptyResult(RunData* rd, std::size_t size);

// Sets STRING_RESULT and answers the result, or the static empty string when there is no buffer.
HostWord StringResult(RunData* rd, const char* result);

// Answers a string expression in a host block of size bytes, made the empty string and handed
// to fill, which writes the answer into it or leaves it empty. STRING_RESULT is set on every
// path; when the host gives no block, the module's empty string answers and fill is not called.
template <typename Fill>
HostWord FillStringResult(RunData* rd, std::size_t size, Fill fill) {
    char* result = EmptyResult(rd, size);
    if (result) fill(result);
    return StringResult(rd, result);
}

// A string parameter as the host passed it: an action's text, or an expression's once fetched.
inline const char* TextParameter(HostWord parameter) {
    return reinterpret_cast<const char*>(parameter);
}

HostWord GetExpressionParameter(RunData* rd, HostWord type, HostWord token);
const char* GetStringParameter(RunData* rd, HostWord token);   // may be null
HostWord GetIntegerParameter(RunData* rd, HostWord token);

// A host-owned string buffer of at least size bytes, or null.
char* AllocateTempString(RunData* rd, std::size_t size);

void BeforeModalDialog(RunData* rd);
void AfterModalDialog(RunData* rd);
HostWord LaunchProgram(RunData* rd, void* request);
HWND MainWindow(const RunData* rd);
const std::uint8_t* AppHeader(const RunData* rd);
