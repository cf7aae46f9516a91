// A minimal stand-in for the authoring host, for tests that link the module's objects: a run
// header with the services they reach, guarded host strings, objects made by CreateRunObject.
#pragma once

#include <windows.h>
#include <cstdint>

#include "system/guarded_memory.h"
#include "state/run_data.h"
#include "state/run_object.h"

namespace harness {

// The host's own numbers for its flag that forbids the selectors' hook, not the module's.
constexpr std::size_t NO_HOOK_FLAG_BYTE = 23;
constexpr std::uint8_t NO_HOOK_FLAG_BIT = 0x08;

struct TestHost {
    RunHeader header{};
    std::uint8_t appHeader[64]{};
    HostWord parameter = 0;          // what GetExpressionParameter hands out
    bool tempStrings = true;         // whether AllocateTempString gives blocks (never freed)
};

inline TestHost* host = nullptr;

inline HostWord WINAPI HostParameter(RunData*, HostWord, HostWord) {
    return host->parameter;
}

inline char* WINAPI HostTempString(RunData*, HostWord size, HostWord) {
    return host->tempStrings ? static_cast<char*>(GuardedAlloc(static_cast<std::size_t>(size))) : nullptr;
}

inline TestHost& StartTestHost() {
    static TestHost theHost;
    host = &theHost;
    host->header.appHeader = host->appHeader;
    host->header.getExpressionParameter = HostParameter;
    host->header.allocateTempString = HostTempString;
    return *host;
}

// A zero-filled record handed to CreateRunObject, as the host does.
inline RunData* NewObject() {
    auto* rd = static_cast<RunData*>(GuardedAlloc(sizeof(RunData)));   // zero-filled
    rd->header.runHeader = &host->header;
    CreateRunObject(rd, 0, 0);
    return rd;
}

inline void DeleteObject(RunData* rd) {
    DestroyRunObject(rd, 0);
    GuardedFree(rd);
}

// Evaluates a string expression the way the host does; the text it returned.
inline const char* StringResult(RunData* rd, HostWord(WINAPI* expression)(RunData*, HostWord), HostWord parameter = 0) {
    host->parameter = parameter;
    rd->header.hostFlags = 0;
    const HostWord answer = expression(rd, 1);
    return (rd->header.hostFlags & STRING_RESULT) ? reinterpret_cast<const char*>(answer) : "(no STRING_RESULT)";
}

}  // namespace harness
