// The platform's wide (UTF-16) dialogs and file calls, looked up when a selector opens. The
// ANSI dialogs hand back names the code page cannot spell bent to near letters (Ā becomes A),
// which can lead to another file; the wide ones give the names as they are. Windows 95, 98 and
// ME have no wide dialogs that work, and the module must load there: nothing here is imported.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

struct WideRoutines {
    BOOL(WINAPI* getOpenFileName)(OPENFILENAMEW* record);
    BOOL(WINAPI* getSaveFileName)(OPENFILENAMEW* record);
    PIDLIST_ABSOLUTE(WINAPI* browseForFolder)(BROWSEINFOW* browse);
    BOOL(WINAPI* pathFromIdList)(PCIDLIST_ABSOLUTE item, wchar_t* path);
    HANDLE(WINAPI* findFirstFile)(const wchar_t* name, WIN32_FIND_DATAW* entry);
    HANDLE(WINAPI* createFile)(const wchar_t* name, DWORD access, DWORD sharing, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE model);
};

// Fills routines on the NT family when the platform has every one of them. False elsewhere: the
// selectors then use the ANSI dialogs, as on Windows 95.
bool FindWideRoutines(WideRoutines& routines);

// An ANSI text into count wide characters, always ended; null stays null.
const wchar_t* Widen(const char* text, wchar_t* wide, std::size_t count);
