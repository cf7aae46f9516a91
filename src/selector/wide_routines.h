// The platform's wide (UTF-16) dialogs and file calls, looked up when a selector opens. The
// ANSI dialogs hand back names the code page cannot spell bent to near letters (Ā becomes A),
// which can lead to another file; the wide ones give the names as they are. Windows 95, 98 and
// ME have no wide dialogs that work, and the module must load there: nothing here is imported.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "state/windows_version.h"

struct WideRoutines {
    GetOpenFileNameWCall::Type getOpenFileName;
    GetSaveFileNameWCall::Type getSaveFileName;
    BrowseForFolderWCall::Type browseForFolder;
    PathFromIdListWCall::Type pathFromIdList;
    FindFirstFileWCall::Type findFirstFile;
    CreateFileWCall::Type createFile;
};

// Fills routines from the table of calls that differ by Windows version when it has every one
// of them (the NT family). False elsewhere: the selectors then use the ANSI dialogs, as on
// Windows 95.
bool FindWideRoutines(WideRoutines& routines);

// An ANSI text into count wide characters, always ended; null stays null.
const wchar_t* Widen(const char* text, wchar_t* wide, std::size_t count);
