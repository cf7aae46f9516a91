// FactsOf through the NT layer, else through GetFileInformationByHandle.
#include "state/file_facts.h"
#include "state/nt_file_calls.h"

bool FactsOf(HANDLE file, FileFacts& facts) {
    if (NtFactsOf(file, facts)) return true;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!InformationOf(file, information)) return false;
    facts.attributes = information.dwFileAttributes;
    facts.created = information.ftCreationTime;
    facts.links = information.nNumberOfLinks;
    facts.size = JoinedSize(information.nFileSizeHigh, information.nFileSizeLow);
    facts.identity = IdentityOf(information);
    return true;
}

bool IsRegularFile(HANDLE file) {
    FileFacts facts;
    constexpr DWORD NOT_A_FILE = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    return GetFileType(file) == FILE_TYPE_DISK && FactsOf(file, facts) && (facts.attributes & NOT_A_FILE) == 0;
}
