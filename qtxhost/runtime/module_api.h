// The module's exports, looked up by name after loading it.
#pragma once

#include <windows.h>
#include <iterator>
#include <string>

#include "catalogue/exports.h"
#include "host/host_records.h"
#include "state/run_data.h"

// An export of a loaded module as the function type it has, or null when it has none.
template <typename Function>
Function ModuleExport(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

enum class EntryKind { CONDITION, ACTION, EXPRESSION };

// The kinds in the catalogue's order.
constexpr EntryKind ENTRY_KINDS[] = {EntryKind::CONDITION, EntryKind::ACTION, EntryKind::EXPRESSION};

// One T for each kind, looked up by the kind itself.
template <typename T>
struct PerKind {
    T byKind[std::size(ENTRY_KINDS)];
    T& operator[](EntryKind kind) { return byKind[static_cast<std::size_t>(kind)]; }
    const T& operator[](EntryKind kind) const { return byKind[static_cast<std::size_t>(kind)]; }
};

// Each export's type is the one its declaration in the module's sources gives: a change on either
// side fails to compile.
struct ModuleApi {
    HMODULE module = nullptr;
    decltype(&::GetInfos) GetInfos;
    decltype(&::CreateObject) CreateObject;
    decltype(&::GetHelpFileName) GetHelpFileName;
    decltype(&::GetObjInfos) GetObjInfos;
    decltype(&::CreateRunObject) CreateRunObject;
    decltype(&::DestroyRunObject) DestroyRunObject;
    decltype(&::GetRunObjectInfos) GetRunObjectInfos;
    decltype(&::GetRunObjectDataSize) GetRunObjectDataSize;
    decltype(&::SaveRunObject) SaveRunObject;
    decltype(&::LoadRunObject) LoadRunObject;
    decltype(&::GetExpressionParam) GetExpressionParam;
    decltype(&::GetExpressionTitle) GetExpressionTitle;
    PerKind<decltype(&::GetConditionMenu)> GetMenu;
    PerKind<decltype(&::GetConditionCodeFromMenu)> GetCodeFromMenu;
    PerKind<decltype(&::GetConditionString)> GetString;
    PerKind<decltype(&::GetConditionInfos)> GetInfosOf;
    // Conditions and actions take a parameter index; expressions go through GetExpressionTitle.
    PerKind<decltype(&::GetConditionTitle)> GetTitle;
};

// Loads the module and resolves every export; on failure says why in error.
bool LoadModuleApi(const std::string& path, ModuleApi& api, std::string& error);

const char* KindName(EntryKind kind);

// GetRunObjectInfos into a guarded record that ends where the object's fields end.
RunInfos QueryRunInfos(const ModuleApi& api);

// An object of the module on a plain zero-filled record with no host behind it: enough for the
// file actions, which call no service (the copy benchmark, the neighbour program of the tests).
struct PlainObject {
    RunInfos infos{};
    RunData* rd = nullptr;
    decltype(&::DestroyRunObject) destroy = nullptr;
};

// Loads the module and creates one plain object; false when either fails.
bool CreatePlainObject(const char* path, PlainObject& object);

// Calls an action of a plain object with two text parameters; answers the lastError it left.
std::uint32_t PlainAction(const PlainObject& object, int code, const char* first, const char* second = nullptr);

void DestroyPlainObject(PlainObject& object);
