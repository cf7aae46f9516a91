// Walks the logical drives in the platform's order and answers the root of the first CD-ROM
// drive whose volume name equals the label, letter case aside. Both are upper-cased by the
// platform, character by character in the ANSI code page: the runtime's _strupr would also
// change second bytes that happen to be letters (テ, 83 65, would become ウ, 83 45, in code page
// 932). The error mode is changed only for the search, so that probing an empty drive shows no
// system message box.
#include <cstring>

#include "info/cdrom_drive.h"
#include "state/host_services.h"
#include "state/path_names.h"

namespace {

constexpr UINT SEARCH_ERROR_MODE = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
static_assert(SEARCH_ERROR_MODE == 0x8001);

// True when the root is a CD-ROM drive whose disc carries the label (already upper-cased).
// The volume name starts empty for every drive and a drive whose volume cannot be read (no
// disc) is passed over, so no name left from another drive is ever compared.
bool HoldsDisc(const char* root, const char* label) {
    if (GetDriveTypeA(root) != DRIVE_CDROM) return false;
    char volume[PATH_BUFFER_SIZE] = "";
    DWORD serialNumber = 0, maximumComponentLength = 0, fileSystemFlags = 0;
    if (!GetVolumeInformationA(root, volume, PATH_BUFFER_SIZE, &serialNumber, &maximumComponentLength,
                               &fileSystemFlags, nullptr, 0))
        return false;
    volume[PATH_BUFFER_SIZE - 1] = '\0';
    CharUpperA(volume);
    return std::strcmp(volume, label) == 0;
}

// The root of the first CD-ROM drive holding a disc with that label, written into result.
void FindDisc(const char* label, char* result) {
    const UINT previousMode = SetErrorMode(SEARCH_ERROR_MODE);
    char drives[PATH_BUFFER_SIZE] = "";   // a list the platform does not fill stays empty
    GetLogicalDriveStringsA(PATH_BUFFER_SIZE, drives);
    drives[PATH_BUFFER_SIZE - 2] = drives[PATH_BUFFER_SIZE - 1] = '\0';
    for (const char* root = drives; *root; root += std::strlen(root) + 1)
        if (HoldsDisc(root, label)) {
            CopyPath(result, root);
            break;
        }
    SetErrorMode(previousMode);
}

}  // namespace

// The label is fetched only when the host gives a result block.
extern "C" HostWord WINAPI ExpressionCDDriveFromLabel(RunData* rd, HostWord token) {
    return FillStringResult(rd, PATH_BUFFER_SIZE, [rd, token](char* result) {
        char label[PATH_BUFFER_SIZE];
        CopyPath(label, GetStringParameter(rd, token));
        CharUpperA(label);
        FindDisc(label, result);
    });
}
