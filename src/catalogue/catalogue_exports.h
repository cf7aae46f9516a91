// The catalogue exports (menus, codes, display strings, titles and parameter layouts of every
// entry) and the run-time life-cycle exports other than creation and destruction.
#pragma once

#include <windows.h>
#include <cstdint>

#include "host/host_records.h"
#include "state/run_data.h"

extern "C" HMENU WINAPI GetConditionMenu(HostWord, HostWord, HostWord);
extern "C" HMENU WINAPI GetActionMenu(HostWord, HostWord, HostWord);
extern "C" HMENU WINAPI GetExpressionMenu(HostWord, HostWord, HostWord);

extern "C" short WINAPI GetConditionCodeFromMenu(HostWord, HostWord commandId);
extern "C" short WINAPI GetActionCodeFromMenu(HostWord, HostWord commandId);
extern "C" short WINAPI GetExpressionCodeFromMenu(HostWord, HostWord commandId);

extern "C" const std::uint16_t* WINAPI GetConditionInfos(HostWord, HostWord code);
extern "C" const std::uint16_t* WINAPI GetActionInfos(HostWord, HostWord code);
extern "C" const std::uint16_t* WINAPI GetExpressionInfos(HostWord, HostWord code);

extern "C" void WINAPI GetConditionString(const EditorHost* host, HostWord code, char* buffer, HostWord size);
extern "C" void WINAPI GetActionString(const EditorHost* host, HostWord code, char* buffer, HostWord size);
extern "C" void WINAPI GetExpressionString(const EditorHost* host, HostWord code, char* buffer, HostWord size);

extern "C" void WINAPI GetConditionTitle(HostWord, HostWord code, HostWord index, char* buffer, HostWord size);
extern "C" void WINAPI GetActionTitle(HostWord, HostWord code, HostWord index, char* buffer, HostWord size);
extern "C" void WINAPI GetExpressionTitle(HostWord, HostWord code, char* buffer, HostWord size);
extern "C" void WINAPI GetExpressionParam(HostWord, HostWord code, HostWord index, char* buffer, HostWord hostSize);

extern "C" short WINAPI GetRunObjectInfos(HostWord, RunInfos* infos);
extern "C" short WINAPI GetRunObjectDataSize(HostWord, HostWord);
extern "C" short WINAPI HandleRunObject(RunData*);
// DisplayRunObject, ReInitRunObject, PauseRunObject and ContinueRunObject: one routine, four names.
extern "C" short WINAPI IdleRunObject(RunData*);
