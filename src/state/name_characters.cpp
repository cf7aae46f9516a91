// The platform walks the characters (CharNextA, CharPrevA): a lead byte and the byte after it are
// one character, in whatever code page is the ANSI one.
#include <windows.h>
#include <cstring>

#include "state/name_characters.h"

namespace {

constexpr char SEPARATOR = '\\';
constexpr char BLANK = ' ';

// How many bytes of the text, at most length, end on a character boundary.
std::size_t WholeCharacters(const char* text, std::size_t length) {
    std::size_t kept = 0;
    for (const char* at = text; *at; at = CharNextA(at)) {
        const auto end = static_cast<std::size_t>(CharNextA(at) - text);
        if (end > length) break;
        kept = end;
    }
    return kept;
}

}  // namespace

const char* LastSeparator(const char* name) {
    const char* last = nullptr;
    for (const char* at = name; *at; at = CharNextA(at))
        if (*at == SEPARATOR) last = at;
    return last;
}

char* LastSeparator(char* name) {
    return const_cast<char*>(LastSeparator(static_cast<const char*>(name)));
}

// A lead byte is never '\', so the last character is '\' only as a character of its own.
bool EndsInSeparator(const char* name) {
    if (!*name) return false;
    return *CharPrevA(name, name + std::strlen(name)) == SEPARATOR;
}

bool EndsInSecondByteBackslash(const char* name) {
    const char* end = name + std::strlen(name);
    while (end > name && end[-1] == BLANK) --end;   // the runtime passes over them too
    if (end == name || end[-1] != SEPARATOR) return false;
    return CharPrevA(name, end) != end - 1;   // the last character began a byte earlier
}

void CopyCharacters(char* destination, const char* text, std::size_t length) {
    const std::size_t kept = text ? WholeCharacters(text, length) : 0;
    std::memcpy(destination, text ? text : "", kept);
    std::memset(destination + kept, 0, length + 1 - kept);
}
