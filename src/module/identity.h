// The editor family of exports that tell who the object is: identity answers, the object's size
// and rectangle in the editor, its about-box strings and its help file.
#pragma once

#include <windows.h>

#include "host/host_records.h"

extern "C" int WINAPI GetInfos(int query);
extern "C" int WINAPI CreateObject(const EditorHost* host, HostWord, EditData* editData);
extern "C" const char* WINAPI GetHelpFileName();
extern "C" void WINAPI GetObjectRect(HostWord, RECT* rect, HostWord, const EditData* editData);
extern "C" void WINAPI GetObjInfos(HostWord, HostWord, char* name, char* author, char* notice, char* description,
                                   char* address);
extern "C" int WINAPI UpdateEditStructure(HostWord, HostWord);
