#include <windows.h>

#include "selector/selection_scratch.h"

namespace {

// The most units one character takes: 4 bytes of UTF-8, or a wide surrogate pair.
constexpr std::size_t LONGEST_CHARACTER = 4;
constexpr char FILLER = '*';   // no file name contains it

// Characters up to the first NUL from at, or limit when there is none before it.
template <typename Character>
std::size_t EndOfString(const Character* text, std::size_t at, std::size_t limit) {
    while (at < limit && text[at] != 0) ++at;
    return at;
}

}  // namespace

template <typename Character>
Character* MakeSelectionScratch(std::size_t told, const Character* initial) {
    if (told <= LONGEST_CHARACTER) return nullptr;
    const std::size_t count = told + SELECTION_SLACK + 1;
    auto* block = static_cast<Character*>(LocalAlloc(LPTR, count * sizeof(Character)));
    if (!block) return nullptr;
    for (std::size_t i = told - LONGEST_CHARACTER; i + 1 < count; ++i) block[i] = FILLER;
    const std::size_t length = initial ? EndOfString(initial, 0, told - 1) : 0;
    for (std::size_t i = 0; i < length; ++i) block[i] = initial[i];
    block[length] = 0;
    return block;
}

template <typename Character>
std::size_t SelectionLength(const Character* answer, std::size_t told, bool multiple) {
    std::size_t at = EndOfString(answer, 0, told);
    if (at >= told) return 0;
    if (!multiple) return at + 1;
    // Name after name until the empty string that ends the list.
    while (++at < told && answer[at] != 0) at = EndOfString(answer, at, told);
    return at < told ? at + 1 : 0;
}

template char* MakeSelectionScratch<char>(std::size_t, const char*);
template wchar_t* MakeSelectionScratch<wchar_t>(std::size_t, const wchar_t*);
template std::size_t SelectionLength<char>(const char*, std::size_t, bool);
template std::size_t SelectionLength<wchar_t>(const wchar_t*, std::size_t, bool);
