// The platform walks the characters (CharNextA, CharPrevA): a lead byte and the byte after it are
// one character, in whatever code page is the ANSI one.
#include <windows.h>
#include <cstring>

#include "state/name_characters.h"

namespace {

constexpr char BLANK = ' ';

// How many bytes of the text, at most length, end on a character boundary. Nothing at or past
// length is read: a field restored from a saved state need not end within its size.
std::size_t WholeCharacters(const char* text, std::size_t length) {
    std::size_t kept = 0;
    while (kept < length && text[kept]) {
        if (kept + 1 == length && IsDBCSLeadByte(static_cast<BYTE>(text[kept]))) break;   // its second byte is beyond
        kept = static_cast<std::size_t>(CharNextA(text + kept) - text);
    }
    return kept;
}

}  // namespace

const char* LastSeparator(const char* name) {
    const char* last = nullptr;
    for (const char* at = name; *at; at = CharNextA(at))
        if (*at == PATH_SEPARATOR) last = at;
    return last;
}

char* LastSeparator(char* name) {
    return const_cast<char*>(LastSeparator(static_cast<const char*>(name)));
}

// A lead byte is never '\', so the last character is '\' only as a character of its own.
bool EndsInSeparator(const char* name) {
    if (!*name) return false;
    return *CharPrevA(name, name + std::strlen(name)) == PATH_SEPARATOR;
}

bool EndsInSecondByteBackslash(const char* name) {
    const char* end = name + std::strlen(name);
    while (end > name && end[-1] == BLANK) --end;   // the runtime passes over them too
    if (end == name || end[-1] != PATH_SEPARATOR) return false;
    return CharPrevA(name, end) != end - 1;   // the last character began a byte earlier
}

void CopyCharacters(char* destination, const char* text, std::size_t length) {
    const std::size_t kept = text ? WholeCharacters(text, length) : 0;
    std::memcpy(destination, text ? text : "", kept);
    std::memset(destination + kept, 0, length + 1 - kept);
}
