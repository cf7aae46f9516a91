// Each routine is asked of the system library that holds it; all are found or none is used.
#include "selector/wide_routines.h"
#include "state/windows_version.h"

namespace {

template <typename Row>
bool Find(typename Row::Type& slot) {
    slot = Platform<Row>();
    return slot != nullptr;
}

}  // namespace

bool FindWideRoutines(WideRoutines& routines) {
    return Find<GetOpenFileNameWCall>(routines.getOpenFileName) && Find<GetSaveFileNameWCall>(routines.getSaveFileName) &&
           Find<BrowseForFolderWCall>(routines.browseForFolder) && Find<PathFromIdListWCall>(routines.pathFromIdList) &&
           Find<FindFirstFileWCall>(routines.findFirstFile) && Find<CreateFileWCall>(routines.createFile);
}

const wchar_t* Widen(const char* text, wchar_t* wide, std::size_t count) {
    if (!text) return nullptr;
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(count)) == 0) wide[0] = L'\0';
    wide[count - 1] = L'\0';
    return wide;
}
