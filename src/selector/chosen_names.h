// What a wide selector hands back, spelt in the ANSI code page so that each name leads to the
// item the user chose. A name the code page spells exactly (turned back, it is the same wide
// text) is kept as it is; a file or folder name it cannot spell is replaced by that item's short
// (8.3) name, which any code page spells; an item without one has no name to give. Every name
// is then checked to open the chosen item itself (volume and file index), or, for a name not
// made yet, to lie in the chosen folder.
#pragma once

#include <cstddef>

#include "selector/wide_routines.h"

// A full path (a file or a folder) into out, at most size bytes with its NUL. False when no
// name leads to the item or it does not fit; out then holds no usable result.
bool SpellChosenPath(const WideRoutines& wide, const wchar_t* chosen, char* out, std::size_t size);

// A multiple selection in the dialogs' layout: one full path, or a folder then file names, each
// ended by NUL, the list by an empty string; written in the same layout into out, at most size
// bytes. False when any of them has no name that leads to it or the list does not fit.
bool SpellChosenList(const WideRoutines& wide, const wchar_t* chosen, char* out, std::size_t size);
