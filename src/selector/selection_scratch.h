// The scratch block a file dialog writes its answer into. A dialog has been seen to write a list
// longer than it was told it may whole past the told space (Wine's wide dialogs), or to cut it
// there (its ANSI dialogs): the block holds a slack past the told space, so that an overrun lands
// inside it, and an answer is taken only when its end lies within the told space.
#pragma once

#include <cstddef>

// Characters the block holds past the told space: more than the longest list a person can pick.
constexpr std::size_t SELECTION_SLACK = 0x40000;

// A block of the local heap for a dialog told it may fill told characters (its NUL among them),
// holding initial (ended within the told space) and zeros. The last characters of the told space
// and the slack hold a character no name contains, so a cut answer never seems to end there.
// Null when the heap has no room; freed with LocalFree.
template <typename Character>
Character* MakeSelectionScratch(std::size_t told, const Character* initial);

// The characters of the dialog's answer with its ending NUL: a path; or, where several files may
// be chosen, a path or a folder and names, ended by an empty string. 0 when it does not end
// within the told characters.
template <typename Character>
std::size_t SelectionLength(const Character* answer, std::size_t told, bool multiple);
