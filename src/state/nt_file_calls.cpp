// The NT layer's records and information classes, as Microsoft's Windows Driver Kit documents
// them (ZwQueryInformationFile, ZwSetInformationFile, ZwQueryVolumeInformationFile).
#include <cstddef>
#include <cstring>

#include "state/nt_file_calls.h"
#include "state/run_data.h"
#include "state/windows_version.h"

namespace {


constexpr int FILE_BASIC_INFORMATION = 4;
constexpr int FILE_STANDARD_INFORMATION = 5;
constexpr int FILE_INTERNAL_INFORMATION = 6;
constexpr int FILE_RENAME_INFORMATION = 10;
constexpr int FILE_DISPOSITION_INFORMATION = 13;
constexpr int FILE_FS_FULL_SIZE_INFORMATION = 7;

struct BasicInformation {
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
    ULONG fileAttributes;
};
struct StandardInformation {
    LARGE_INTEGER allocationSize, endOfFile;
    ULONG numberOfLinks;
    BOOLEAN deletePending, directory;
};
struct InternalInformation {
    LARGE_INTEGER indexNumber;
};
struct FullSizeInformation {
    LARGE_INTEGER totalAllocationUnits, callerAvailableAllocationUnits, actualAvailableAllocationUnits;
    ULONG sectorsPerAllocationUnit, bytesPerSector;
};
struct DispositionInformation {
    BOOLEAN deleteFile;
};
// Its name follows it: room for the NT prefix and a whole path of wide characters.
constexpr char NT_PREFIX[] = "\\??\\";
constexpr std::size_t NT_PREFIX_LENGTH = sizeof NT_PREFIX - 1;
struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG fileNameLength;   // in bytes
    WCHAR fileName[NT_PREFIX_LENGTH + PATH_BUFFER_SIZE];
};

#ifndef _WIN64
// The records' sizes and offsets as the 32-bit NT layer reads them.
static_assert(sizeof(BasicInformation) == 40 && sizeof(StandardInformation) == 24);
static_assert(sizeof(InternalInformation) == 8 && sizeof(FullSizeInformation) == 32);
static_assert(offsetof(RenameInformation, rootDirectory) == 4 && offsetof(RenameInformation, fileName) == 12);
#endif

template <typename Call, typename Record>
bool Ask(HANDLE file, Record& record, int informationClass, NtStatus& status) {
    const auto call = Platform<Call>();
    if (!call) return false;
    IoStatusBlock io{};
    status = call(file, &io, &record, sizeof record, informationClass);
    return status >= 0;
}

template <typename Record>
bool Query(HANDLE file, Record& record, int informationClass) {
    NtStatus status = 0;
    return Ask<QueryInformationFileCall>(file, record, informationClass, status);
}

FILETIME FileTimeOf(LARGE_INTEGER time) {
    return FILETIME{static_cast<DWORD>(time.LowPart), static_cast<DWORD>(time.HighPart)};
}

// A whole path of the drive form X:\... as the NT layer names it; false for any other form.
bool NtName(const char* fullPath, RenameInformation& rename) {
    const bool drivePath = fullPath[0] != '\0' && fullPath[1] == ':' && fullPath[2] == '\\';
    if (!drivePath) return false;
    for (std::size_t i = 0; i < NT_PREFIX_LENGTH; ++i) rename.fileName[i] = static_cast<WCHAR>(NT_PREFIX[i]);
    const int characters = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, fullPath, -1, rename.fileName + NT_PREFIX_LENGTH,
                                               PATH_BUFFER_SIZE);
    if (characters <= 0) return false;
    rename.fileNameLength = static_cast<ULONG>((NT_PREFIX_LENGTH + characters - 1) * sizeof(WCHAR));
    return true;
}

DWORD ErrorOf(NtStatus status) {
    const auto call = Platform<StatusToErrorCall>();
    return call ? call(status) : ERROR_GEN_FAILURE;
}

}  // namespace

bool NtFactsOf(HANDLE file, FileFacts& facts) {
    BasicInformation basic{};
    StandardInformation standard{};
    InternalInformation internal{};
    if (!Query(file, basic, FILE_BASIC_INFORMATION) || !Query(file, standard, FILE_STANDARD_INFORMATION) ||
        !Query(file, internal, FILE_INTERNAL_INFORMATION))
        return false;
    facts.attributes = basic.fileAttributes;
    facts.created = FileTimeOf(basic.creationTime);
    facts.links = standard.numberOfLinks;
    facts.size = standard.endOfFile.QuadPart;
    facts.identity = FileIdentity{0, static_cast<DWORD>(internal.indexNumber.HighPart), internal.indexNumber.LowPart};
    return true;
}

bool NtRoomOf(HANDLE file, std::uint64_t& available) {
    FullSizeInformation size{};
    NtStatus status = 0;
    if (!Ask<QueryVolumeInformationFileCall>(file, size, FILE_FS_FULL_SIZE_INFORMATION, status)) return false;
    available = static_cast<std::uint64_t>(size.callerAvailableAllocationUnits.QuadPart) * size.sectorsPerAllocationUnit *
                size.bytesPerSector;
    return true;
}

bool NtRename(HANDLE file, const char* fullPath, bool replace, DWORD& error) {
    RenameInformation rename{};
    rename.replaceIfExists = replace;
    NtStatus status = 0;
    if (!NtName(fullPath, rename) || !Platform<SetInformationFileCall>()) {
        error = ERROR_CALL_NOT_IMPLEMENTED;
        return false;
    }
    if (Ask<SetInformationFileCall>(file, rename, FILE_RENAME_INFORMATION, status)) return true;
    error = ErrorOf(status);
    return false;
}

bool NtDelete(HANDLE file) {
    DispositionInformation disposition{TRUE};
    NtStatus status = 0;
    return Ask<SetInformationFileCall>(file, disposition, FILE_DISPOSITION_INFORMATION, status);
}
