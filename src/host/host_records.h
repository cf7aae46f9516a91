// The authoring host's records and services, as far as the File object uses them.
// Offsets are those of the 32-bit host; the 64-bit test build widens the pointers.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>

struct RunData;

// Every host word the object receives or returns: 32 bits on the real target,
// pointer-sized in the 64-bit twin so that string pointers survive the trip.
using HostWord = std::intptr_t;

// Services stored in the RunHeader: three arguments, the calling object's RunData first.
using GetExpressionParameterService = HostWord(WINAPI*)(RunData* rd, HostWord type, HostWord token);
using ModalDialogService = HostWord(WINAPI*)(RunData* rd, HostWord zero1, HostWord zero2);
using AllocateTempStringService = char*(WINAPI*)(RunData* rd, HostWord size, HostWord zero);
using LaunchProgramService = HostWord(WINAPI*)(RunData* rd, HostWord zero, void* request);

// Type values for GetExpressionParameter.
constexpr HostWord PARAM_INTEGER = 0;
constexpr HostWord PARAM_STRING = 1;

// Bit of HostHeader::hostFlags that a string-returning expression sets.
constexpr std::uint16_t STRING_RESULT = 0x8000;

// Bit of byte 23 of the application header: the load and save selectors install no hook.
constexpr std::size_t APP_HEADER_NO_HOOK_BYTE = 23;
constexpr std::uint8_t APP_HEADER_NO_HOOK_BIT = 0x08;

struct RunHeader {
    std::uint8_t reserved0[12];
    HWND mainWindow;                          // 12: owner of every dialog the object opens
    std::uint8_t reserved16[8];
    const std::uint8_t* appHeader;            // 24: byte 23 bit 0x08 = no selector hook
    std::uint8_t reserved28[876 - 28];
    GetExpressionParameterService getExpressionParameter;  // 876
    std::uint8_t reserved880[888 - 880];
    ModalDialogService beforeModalDialog;     // 888
    ModalDialogService afterModalDialog;      // 892
    std::uint8_t reserved896[916 - 896];
    AllocateTempStringService allocateTempString;  // 916
    LaunchProgramService launchProgram;       // 920
};

struct HostHeader {
    std::uint8_t reserved0[8];
    RunHeader* runHeader;                     // 8
    std::uint8_t reserved12[124 - 12];
    std::uint16_t hostFlags;                  // 124: STRING_RESULT lives here
    std::uint8_t reserved126[184 - 126];
};

using GetHostVersionRoutine = std::uint32_t(WINAPI*)();

// The editor's record handed to CreateObject and the display-string exports.
struct EditorHost {
    std::uint8_t reserved0[336];
    GetHostVersionRoutine getHostVersion;     // 336, may be null
};

// The object's edit-time record; the host owns it, the object sets the size.
struct EditData {
    std::uint8_t header[20];
    std::int16_t width;                       // 20
    std::int16_t height;                      // 22
};

// Handler protocols reached through the routine tables.
using ConditionRoutine = HostWord(WINAPI*)(RunData* rd, HostWord param1, HostWord param2);
using ActionRoutine = HostWord(WINAPI*)(RunData* rd, HostWord param1, HostWord param2);
using ExpressionRoutine = HostWord(WINAPI*)(RunData* rd, HostWord token);

// The run-time interface record filled by GetRunObjectInfos. Only fields up to
// offset 34 belong to the object; byte 25 and everything after 34 are the host's.
struct RunInfos {
    const ConditionRoutine* conditionRoutines;    // 0
    const ActionRoutine* actionRoutines;          // 4
    const ExpressionRoutine* expressionRoutines;  // 8
    std::uint16_t conditionCount;                 // 12
    std::uint16_t actionCount;                    // 14
    std::uint16_t expressionCount;                // 16
    std::uint16_t editDataSize;                   // 18
    std::uint32_t hostDefined20;                  // 20
    std::uint8_t hostDefined24;                   // 24
    std::uint8_t hostDefined25;                   // 25, never written
    std::uint16_t hostDefined26;                  // 26
    std::uint32_t identifier;                     // 28
    std::uint16_t hostDefined32;                  // 32
};

// One row of a descriptor table: eight little-endian 16-bit fields.
struct AceDescriptor {
    std::uint16_t menuId;
    std::int16_t displayStringId;
    std::uint16_t code;
    std::uint16_t entryFlags;
    std::uint16_t paramTypes[2];
    std::uint16_t paramTitles[2];
};

// Parameter type numbers of the host.
constexpr std::uint16_t PARAM_TYPE_NONE = 0;
constexpr std::uint16_t PARAM_TYPE_EXPRESSION_INTEGER = 1;
constexpr std::uint16_t PARAM_TYPE_EXPRESSION_TEXT = 3;
constexpr std::uint16_t PARAM_TYPE_NUMBER = 22;
constexpr std::uint16_t PARAM_TYPE_TEXT = 45;

static_assert(sizeof(EditData) == 24);
static_assert(offsetof(EditData, width) == 20 && offsetof(EditData, height) == 22);
static_assert(sizeof(AceDescriptor) == 16);
static_assert(offsetof(AceDescriptor, code) == 4 && offsetof(AceDescriptor, paramTitles) == 12);

#ifndef _WIN64
static_assert(sizeof(HostHeader) == 184);
static_assert(offsetof(HostHeader, runHeader) == 8);
static_assert(offsetof(HostHeader, hostFlags) == 124);
static_assert(offsetof(RunHeader, mainWindow) == 12);
static_assert(offsetof(RunHeader, appHeader) == 24);
static_assert(offsetof(RunHeader, getExpressionParameter) == 876);
static_assert(offsetof(RunHeader, beforeModalDialog) == 888);
static_assert(offsetof(RunHeader, afterModalDialog) == 892);
static_assert(offsetof(RunHeader, allocateTempString) == 916);
static_assert(offsetof(RunHeader, launchProgram) == 920);
static_assert(offsetof(EditorHost, getHostVersion) == 336);
static_assert(offsetof(RunInfos, actionRoutines) == 4);
static_assert(offsetof(RunInfos, expressionRoutines) == 8);
static_assert(offsetof(RunInfos, conditionCount) == 12);
static_assert(offsetof(RunInfos, editDataSize) == 18);
static_assert(offsetof(RunInfos, hostDefined20) == 20);
static_assert(offsetof(RunInfos, hostDefined25) == 25);
static_assert(offsetof(RunInfos, identifier) == 28);
static_assert(offsetof(RunInfos, hostDefined32) == 32);
#endif
