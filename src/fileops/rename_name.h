// Renaming a file or a directory without ever replacing, copying over or deleting another's file.
#pragma once

#include "state/run_data.h"

// Renames oldPath as newPath and stores the outcome, 0 or the runtime's errno, in lastError. An
// existing new name, file or directory, is never replaced (17).
//
// Within a volume the platform renames in one step, never copying: nothing can be left behind.
// Between volumes a file is copied into a new file this call makes (CREATE_NEW, so nothing that
// appears at the new name meanwhile is touched), then the old file is deleted through the handle
// that held it from before the copy. When any step fails, the new file, and only it, is deleted
// through its own handle: no leftover copy, whatever its attributes, and no one else's file.
void RenameName(RunData* rd, const char* oldPath, const char* newPath);
