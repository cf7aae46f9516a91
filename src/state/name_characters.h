// Names read character by character in the ANSI code page. In a double-byte code page the second
// byte of a character can be 0x5C, the byte of '\' (表 is 95 5C in code page 932): only a '\'
// that is a character of its own separates a name's components.
#pragma once

// The separator of a path's components, found character by character (a second byte 0x5C is none).
constexpr char PATH_SEPARATOR = '\\';

#include <cstddef>

// True where the ANSI code page is UTF-8 (65001, an option of Windows 10 and 11).
bool AnsiCodePageIsUtf8();

// The last '\' of the name that is a character of its own, or null when there is none.
const char* LastSeparator(const char* name);
char* LastSeparator(char* name);

// True when the name's last character is '\'; false for the empty name.
bool EndsInSeparator(const char* name);

// True when the name's last byte, trailing blanks aside, is 0x5C as the second byte of a
// double-byte character. The runtime's status call takes such a byte for a trailing backslash
// and finds no file.
bool EndsInSecondByteBackslash(const char* name);

// Copies the text into destination, cut to at most length bytes on a character boundary, so that
// no lead byte is kept without its second byte; zero-fills the rest of length bytes and ends the
// destination at index length (it holds length + 1 bytes). A null text copies as the empty string.
// The text is read no further than length bytes: it need not be ended within them.
void CopyCharacters(char* destination, const char* text, std::size_t length);

// Turns every '|' before the first NUL of a filter list into NUL, walked by character (a second
// byte can be 0x7C, as in ポ, 83 7C in code page 932); answers where that NUL stands.
char* SplitFilterList(char* filterList);
