#include "runtime/module_api.h"

#include <cstdlib>
#include <cstring>

#include "system/guarded_memory.h"
#include "system/windows_errors.h"

namespace {

// Why a module would not load, with the platform's number: the common reasons in words, any
// other as the platform words it.
std::string LoadFailure(DWORD error) {
    if (error == ERROR_BAD_EXE_FORMAT)
        return WindowsReason(error, "not a Windows module of this host's width: a 64-bit module in the 32-bit host, "
                                    "the reverse, or no module at all");
    if (error == ERROR_MOD_NOT_FOUND) return WindowsReason(error, "a library it needs is missing");
    return WindowsReason(error);
}

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& slot, std::string& error) {
    slot = ModuleExport<Function>(module, name);
    if (!slot) error = std::string("the module does not export ") + name;
    return slot != nullptr;
}

}  // namespace

RunInfos QueryRunInfos(const ModuleApi& api) {
    constexpr std::size_t objectPart = offsetof(RunInfos, hostDefined32) + sizeof(std::uint16_t);
    RunInfos infos{};
    void* record = GuardedAlloc(objectPart);
    api.GetRunObjectInfos(0, static_cast<RunInfos*>(record));
    std::memcpy(&infos, record, objectPart);
    GuardedFree(record);
    return infos;
}

const char* KindName(EntryKind kind) {
    switch (kind) {
        case EntryKind::CONDITION: return "condition";
        case EntryKind::ACTION: return "action";
        case EntryKind::EXPRESSION: return "expression";
    }
    return "?";
}

bool LoadModuleApi(const std::string& path, ModuleApi& api, std::string& error) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = "no such file: " + path;
        return false;
    }
    api.module = LoadLibraryA(path.c_str());
    if (!api.module) {
        error = path + " is not a module that loads here (" + LoadFailure(GetLastError()) + ")";
        return false;
    }
    HMODULE m = api.module;
    constexpr EntryKind C = EntryKind::CONDITION, A = EntryKind::ACTION, E = EntryKind::EXPRESSION;
    return Resolve(m, "GetInfos", api.GetInfos, error) &&
           Resolve(m, "CreateObject", api.CreateObject, error) &&
           Resolve(m, "GetHelpFileName", api.GetHelpFileName, error) &&
           Resolve(m, "GetObjInfos", api.GetObjInfos, error) &&
           Resolve(m, "CreateRunObject", api.CreateRunObject, error) &&
           Resolve(m, "DestroyRunObject", api.DestroyRunObject, error) &&
           Resolve(m, "GetRunObjectInfos", api.GetRunObjectInfos, error) &&
           Resolve(m, "GetRunObjectDataSize", api.GetRunObjectDataSize, error) &&
           Resolve(m, "SaveRunObject", api.SaveRunObject, error) &&
           Resolve(m, "LoadRunObject", api.LoadRunObject, error) &&
           Resolve(m, "GetExpressionParam", api.GetExpressionParam, error) &&
           Resolve(m, "GetExpressionTitle", api.GetExpressionTitle, error) &&
           Resolve(m, "GetConditionMenu", api.GetMenu[C], error) &&
           Resolve(m, "GetActionMenu", api.GetMenu[A], error) &&
           Resolve(m, "GetExpressionMenu", api.GetMenu[E], error) &&
           Resolve(m, "GetConditionCodeFromMenu", api.GetCodeFromMenu[C], error) &&
           Resolve(m, "GetActionCodeFromMenu", api.GetCodeFromMenu[A], error) &&
           Resolve(m, "GetExpressionCodeFromMenu", api.GetCodeFromMenu[E], error) &&
           Resolve(m, "GetConditionString", api.GetString[C], error) &&
           Resolve(m, "GetActionString", api.GetString[A], error) &&
           Resolve(m, "GetExpressionString", api.GetString[E], error) &&
           Resolve(m, "GetConditionInfos", api.GetInfosOf[C], error) &&
           Resolve(m, "GetActionInfos", api.GetInfosOf[A], error) &&
           Resolve(m, "GetExpressionInfos", api.GetInfosOf[E], error) &&
           Resolve(m, "GetConditionTitle", api.GetTitle[C], error) &&
           Resolve(m, "GetActionTitle", api.GetTitle[A], error);
}

bool CreatePlainObject(const char* path, PlainObject& object) {
    HMODULE module = LoadLibraryA(path);
    if (!module) return false;
    auto infos = ModuleExport<decltype(&::GetRunObjectInfos)>(module, "GetRunObjectInfos");
    auto size = ModuleExport<decltype(&::GetRunObjectDataSize)>(module, "GetRunObjectDataSize");
    auto create = ModuleExport<decltype(&::CreateRunObject)>(module, "CreateRunObject");
    object.destroy = ModuleExport<decltype(&::DestroyRunObject)>(module, "DestroyRunObject");
    if (!infos || !size || !create || !object.destroy) return false;
    infos(0, &object.infos);
    object.rd = static_cast<RunData*>(std::calloc(1, static_cast<std::uint16_t>(size(0, 0))));
    return object.rd && create(object.rd, 0, 0) == 0;
}

std::uint32_t PlainAction(const PlainObject& object, int code, const char* first, const char* second) {
    object.infos.actionRoutines[code](object.rd, reinterpret_cast<HostWord>(first), reinterpret_cast<HostWord>(second));
    return object.rd->lastError;
}

void DestroyPlainObject(PlainObject& object) {
    object.destroy(object.rd, 0);
    std::free(object.rd);
    object.rd = nullptr;
}
