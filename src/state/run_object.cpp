// Creation and destruction of the run-time record.
#include <direct.h>
#include <cstdlib>
#include <cstring>

#include "state/last_error.h"
#include "state/name_characters.h"
#include "state/path_names.h"
#include "state/run_object.h"

namespace {

void RememberInitialDirectory(RunData* rd) {
    rd->initialDirectory[0] = '\0';
    if (!_getcwd(rd->workPath, PATH_BUFFER_SIZE)) rd->workPath[0] = '\0';
    CopyPath(rd->initialDirectory, rd->workPath);
}

void ResetSelectorSettings(RunData* rd) {
    // The 16 bytes of the default text and nothing else: its own NULs end the list.
    std::memcpy(rd->filterList, DEFAULT_FILTER_TEXT, sizeof(DEFAULT_FILTER_TEXT));
    SplitFilterList(rd->filterList);
    rd->filterIndex = 0;
    rd->selectorTitle[0] = '\0';
    rd->defaultExtension[0] = '\0';
    rd->selectorBuffer = nullptr;
    rd->selectorBufferSize = 0;
    rd->selectorStyle = 0;
    rd->multiSelect = 0;
}

}  // namespace

extern "C" int WINAPI CreateRunObject(RunData* rd, HostWord, HostWord) {
    rd->workPath = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (rd->workPath) RememberInitialDirectory(rd);
    StoreCreationOutcome(rd);
    ResetSelectorSettings(rd);
    return rd->workPath ? 0 : 1;
}

extern "C" short WINAPI DestroyRunObject(RunData* rd, HostWord) {
    if (rd->workPath) {
        if (rd->initialDirectory[0]) {
            CopyPath(rd->workPath, rd->initialDirectory);
            _chdir(rd->workPath);
        }
        LocalFree(rd->workPath);
        rd->workPath = nullptr;
    }
    if (rd->selectorBuffer) {
        std::free(rd->selectorBuffer);
        rd->selectorBuffer = nullptr;
    }
    return 0;
}
