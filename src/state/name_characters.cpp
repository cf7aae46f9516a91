// The platform walks the characters (CharNextA, CharPrevA): a lead byte and the byte after it are
// one character, in whatever double-byte code page is the ANSI one. In UTF-8 it steps a byte at a
// time, so a cut steps by UTF-8 sequences itself. Every other walk only looks for '\' and other
// ASCII bytes, which never lie inside a UTF-8 sequence.
#include <windows.h>
#include <cstring>

#include "state/name_characters.h"

namespace {

constexpr char BLANK = ' ';

// The bytes a UTF-8 sequence takes, by its first byte: 1 for ASCII and for a byte that starts none.
std::size_t Utf8SequenceLength(unsigned char first) {
    if (first >= 0xF0 && first <= 0xF4) return 4;
    if (first >= 0xE0) return first <= 0xEF ? 3 : 1;
    if (first >= 0xC2) return 2;
    return 1;
}

// The bytes of the UTF-8 character at text, of which room are readable: room + 1 when its sequence
// runs past them; its continuation bytes counted only where they are there, so a broken sequence
// is a character of its own first byte.
std::size_t Utf8CharacterLength(const char* text, std::size_t room) {
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[0]));
    if (length > room) return room + 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    return length;
}

// The bytes of the character at text, of which room are readable (room + 1: it runs past them).
std::size_t CharacterLength(const char* text, std::size_t room, bool utf8) {
    if (utf8) return Utf8CharacterLength(text, room);
    if (IsDBCSLeadByte(static_cast<BYTE>(text[0]))) return room < 2 ? room + 1 : static_cast<std::size_t>(CharNextA(text) - text);
    return 1;
}

// How many bytes of the text, at most length, end on a character boundary. Nothing at or past
// length is read: a field restored from a saved state need not end within its size.
std::size_t WholeCharacters(const char* text, std::size_t length) {
    const bool utf8 = AnsiCodePageIsUtf8();
    std::size_t kept = 0;
    while (kept < length && text[kept]) {
        const std::size_t bytes = CharacterLength(text + kept, length - kept, utf8);
        if (bytes > length - kept) break;   // the rest of the character lies beyond
        kept += bytes;
    }
    return kept;
}

}  // namespace

bool AnsiCodePageIsUtf8() {
    return GetACP() == CP_UTF8;
}

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

// Walked by characters: in a double-byte code page a second byte can be 0x7C, the byte of '|'
// (ポ is 83 7C in code page 932), and stays.
char* SplitFilterList(char* filterList) {
    char* cursor = filterList;
    while (*cursor) {
        char* next = CharNextA(cursor);
        if (*cursor == '|') *cursor = '\0';
        cursor = next;
    }
    return cursor;
}
