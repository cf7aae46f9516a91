// The run-time side of the headless host: its records, its services and the objects it holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system/launch_service.h"
#include "runtime/module_api.h"

// The host's flag in its application header that forbids the selectors' hook: bit 0x08 of byte
// 23. The host's own numbers, kept apart from the module's, so that a wrong bit in the module fails.
constexpr std::size_t NO_HOOK_FLAG_BYTE = 23;
constexpr std::uint8_t NO_HOOK_FLAG_BIT = 0x08;

struct HostObject {
    std::string name;
    RunData* rd = nullptr;                 // guarded block of GetRunObjectDataSize bytes
    std::vector<void*> tempStrings;        // AllocateTempString blocks, reclaimed between lines
};

// The parameter of the expression being evaluated, handed out by GetExpressionParameter.
struct ExpressionArgument {
    bool present = false;
    bool isString = false;
    const char* text = nullptr;            // guarded copy, or null
    std::int32_t number = 0;
    HostWord token = 0;
};

// The version word the editor's GetHostVersion answers unless --host-version says otherwise: a
// host the object accepts.
constexpr std::uint32_t DEFAULT_HOST_VERSION = 0x02000100;

struct Host {
    ModuleApi api;
    RunHeader* runHeader = nullptr;
    std::uint8_t* appHeader = nullptr;
    EditorHost* editorHost = nullptr;      // what the editor exports are given
    EditorHost* compatibleEditor = nullptr;  // used to read the catalogue itself
    std::uint32_t hostVersion = DEFAULT_HOST_VERSION;
    bool tempStringsAvailable = true;
    LaunchMode launchMode = LaunchMode::RECORD;
    HostWord launchResult = 0;
    std::vector<LaunchRecord> launches;
    int modalDepth = 0;
    bool quietServices = false;            // the sweep does not print every service call
    ExpressionArgument argument;
    std::vector<std::string> protocolErrors;
    std::vector<HostObject> objects;
    std::size_t current = 0;
};

// The one host of this process; the services reach it from here.
extern Host* theHost;

bool StartHost(Host& host, const std::string& modulePath, std::string& error);
void SetHostVersion(Host& host, bool present, std::uint32_t version);

// The name the first object is given, as the editor names the first object of this kind.
constexpr const char* FIRST_OBJECT_NAME = "File";

// Creates an object in a fresh guarded RunData; it becomes the current one.
HostObject* CreateHostObject(Host& host, const std::string& name);
// Destroys it (DestroyRunObject, then its temporary strings and record are released).
void DestroyHostObject(Host& host, std::size_t index);
HostObject* FindHostObject(Host& host, const std::string& name, std::size_t* index = nullptr);
HostObject* CurrentObject(Host& host);
void DestroyAllObjects(Host& host);
// Releases every object's AllocateTempString blocks, as a host does between events: the strings
// the module handed back on earlier lines are no longer the module's to use.
void ReclaimTempStrings(Host& host);
