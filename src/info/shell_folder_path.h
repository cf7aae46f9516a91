// The shell's path for a special folder, in a file of its own so that a test build can put a
// lookup of its own in its place.
#pragma once

// True when the shell gave a file-system path for the folder id and wrote it into the 260-byte
// buffer.
bool GetShellFolderPath(char* buffer, int folder);
