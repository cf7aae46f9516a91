// The editor family of exports: identity answers, about-box strings, help file, edit-time size.
#include "module/host_compatibility.h"
#include "module/identity.h"
#include "module/module_instance.h"
#include "resources/resource_ids.h"

namespace {

constexpr std::int16_t DEFAULT_OBJECT_SIZE = 32;
constexpr int ABOUT_STRING_BUFFER = 255;
constexpr char HELP_FILE_NAME[] = "File.chm";

struct InfoAnswer {
    int query;
    int answer;
};

// The host's queries and the answers it expects: observed values whose meaning is not known. Every
// other query answers 0.
constexpr InfoAnswer INFO_ANSWERS[] = {
    {0, 0x200},
    {6, 1},
    {7, 0xF7},
};

}  // namespace

extern "C" int WINAPI GetInfos(int query) {
    for (const InfoAnswer& row : INFO_ANSWERS)
        if (row.query == query) return row.answer;
    return 0;
}

extern "C" int WINAPI CreateObject(const EditorHost* host, HostWord, EditData* editData) {
    if (editData) {
        editData->width = DEFAULT_OBJECT_SIZE;
        editData->height = DEFAULT_OBJECT_SIZE;
    }
    return IsHostCompatible(host) ? 0 : -1;
}

extern "C" const char* WINAPI GetHelpFileName() {
    return HELP_FILE_NAME;
}

extern "C" void WINAPI GetObjectRect(HostWord, RECT* rect, HostWord, const EditData* editData) {
    if (!rect || !editData) return;
    rect->right = rect->left + editData->width;
    rect->bottom = rect->top + editData->height;
}

extern "C" void WINAPI GetObjInfos(HostWord, HostWord, char* name, char* author, char* notice,
                                   char* description, char* address) {
    char* const buffers[] = {name, author, notice, description, address};
    UINT id = IDS_ABOUT_NAME;
    for (char* buffer : buffers) {
        if (buffer) LoadStringA(moduleInstance, id, buffer, ABOUT_STRING_BUFFER);
        ++id;
    }
}

extern "C" int WINAPI UpdateEditStructure(HostWord, HostWord) {
    return 0;
}
