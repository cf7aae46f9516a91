// Names are spelt one component at a time: a folder the code page cannot spell becomes its short
// name while the rest of the path keeps its long names.
#include <cstring>

#include "selector/chosen_names.h"
#include "state/file_handles.h"
#include "state/name_characters.h"
#include "state/run_data.h"

namespace {

constexpr wchar_t WIDE_SEPARATOR = L'\\';
constexpr std::size_t WIDE_PATH_SIZE = MAX_PATH;   // what the wide file calls take

std::size_t WideLength(const wchar_t* text) {
    std::size_t length = 0;
    while (text[length]) ++length;
    return length;
}

// The first count characters of text, ended, into a path buffer; false when they do not fit.
bool CopyWide(wchar_t* path, const wchar_t* text, std::size_t count) {
    if (count >= WIDE_PATH_SIZE) return false;
    std::memcpy(path, text, count * sizeof(wchar_t));
    path[count] = L'\0';
    return true;
}

// The ANSI bytes of count wide characters, written at out (room bytes, not ended): their number,
// or -1 when they do not fit or the code page cannot spell them exactly. WC_NO_BEST_FIT_CHARS
// turns an unspellable character into the default one instead of a near letter; systems before
// Windows 2000 refuse the flag, and the way back catches a bent character there too. UTF-8 takes
// neither the flag nor the default's pointer (Windows refuses the call): it spells every
// character, and the way back catches a lone surrogate turned into U+FFFD.
int SpellExactly(const wchar_t* text, std::size_t count, char* out, std::size_t room) {
    if (count == 0) return 0;
    if (room == 0 || count >= WIDE_PATH_SIZE) return -1;   // room 0 would only measure
    const int wideCount = static_cast<int>(count), bytes = static_cast<int>(room);
    BOOL defaulted = FALSE;
    int length = 0;
    if (AnsiCodePageIsUtf8()) {
        length = WideCharToMultiByte(CP_ACP, 0, text, wideCount, out, bytes, nullptr, nullptr);
    } else {
        length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, wideCount, out, bytes, nullptr, &defaulted);
        if (length == 0 && GetLastError() == ERROR_INVALID_FLAGS)
            length = WideCharToMultiByte(CP_ACP, 0, text, wideCount, out, bytes, nullptr, &defaulted);
    }
    if (length == 0 || defaulted) return -1;
    wchar_t back[WIDE_PATH_SIZE];
    const int backCount = MultiByteToWideChar(CP_ACP, 0, out, length, back, WIDE_PATH_SIZE);
    if (backCount != wideCount || std::memcmp(back, text, count * sizeof(wchar_t)) != 0) return -1;
    return length;
}

// The short name of the item at path, spelt at out; -1 when it has none (or no such item).
int SpellShortName(const WideRoutines& wide, const wchar_t* path, char* out, std::size_t room) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = wide.findFirstFile(path, &entry);
    if (search == INVALID_HANDLE_VALUE) return -1;
    FindClose(search);
    return SpellExactly(entry.cAlternateFileName, WideLength(entry.cAlternateFileName), out, room);
}

// One component of path, the count characters at component: exactly, else by its short name.
int SpellComponent(const WideRoutines& wide, const wchar_t* path, const wchar_t* component, std::size_t count,
                   char* out, std::size_t room) {
    const int exact = SpellExactly(component, count, out, room);
    if (exact >= 0) return exact;
    wchar_t throughIt[WIDE_PATH_SIZE];
    if (!CopyWide(throughIt, path, static_cast<std::size_t>(component - path) + count)) return -1;
    return SpellShortName(wide, throughIt, out, room);
}

// The identity of the item an open handle (a file or a folder) leads to; the handle is closed.
bool IdentityOfOpened(HANDLE item, FileIdentity& identity) {
    const bool known = IdentityOf(item, identity);
    if (item != INVALID_HANDLE_VALUE) CloseHandle(item);
    return known;
}

bool SameItem(const WideRoutines& wide, const wchar_t* chosen, const char* spelt);

// Neither name leads to an item (a new file a save selector was given): they must lie in one
// folder, and then they name the same new file.
bool SameNewItem(const WideRoutines& wide, const wchar_t* chosen, const char* spelt) {
    std::size_t folderLength = WideLength(chosen);
    while (folderLength > 0 && chosen[folderLength - 1] != WIDE_SEPARATOR) --folderLength;
    const char* separator = LastSeparator(spelt);
    wchar_t chosenFolder[WIDE_PATH_SIZE];
    char speltFolder[PATH_BUFFER_SIZE];
    if (folderLength == 0 || !separator || !CopyWide(chosenFolder, chosen, folderLength - 1)) return false;
    const auto speltLength = static_cast<std::size_t>(separator - spelt);
    if (speltLength >= sizeof speltFolder) return false;
    std::memcpy(speltFolder, spelt, speltLength);
    speltFolder[speltLength] = '\0';
    return SameItem(wide, chosenFolder, speltFolder);
}

// True when the ANSI name leads to the chosen item: both open one file or folder.
bool SameItem(const WideRoutines& wide, const wchar_t* chosen, const char* spelt) {
    FileIdentity chosenItem, speltItem;
    const bool chosenFound = IdentityOfOpened(wide.createFile(chosen, QUERY_ONLY, SharedWithEveryone(), nullptr,
                                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                                              chosenItem);
    const bool speltFound = IdentityOfOpened(
        CreateFileA(spelt, QUERY_ONLY, SharedWithEveryone(), nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
        speltItem);
    if (!chosenFound && !speltFound) return SameNewItem(wide, chosen, spelt);
    return chosenFound && speltFound && SameIdentity(chosenItem, speltItem);
}

// Spells the path component by component into out; the length written, or -1.
int SpellPath(const WideRoutines& wide, const wchar_t* chosen, char* out, std::size_t size) {
    const std::size_t length = WideLength(chosen);
    std::size_t written = 0;
    for (std::size_t start = 0;;) {
        std::size_t end = start;
        while (end < length && chosen[end] != WIDE_SEPARATOR) ++end;
        const int spelt = SpellComponent(wide, chosen, chosen + start, end - start, out + written, size - 1 - written);
        if (spelt < 0) return -1;
        written += static_cast<std::size_t>(spelt);
        if (end == length) break;
        if (written + 1 >= size) return -1;
        out[written++] = PATH_SEPARATOR;
        start = end + 1;
    }
    out[written] = '\0';
    return static_cast<int>(written);
}

// The folder's spelling joined with a name's into a path buffer; false when it does not fit.
bool JoinSpelt(char* joined, const char* folder, bool separated, const char* name) {
    const std::size_t folderBytes = std::strlen(folder), nameBytes = std::strlen(name);
    const std::size_t nameAt = folderBytes + (separated ? 0 : 1);
    if (nameAt + nameBytes >= PATH_BUFFER_SIZE) return false;
    std::memcpy(joined, folder, folderBytes);
    joined[folderBytes] = PATH_SEPARATOR;   // overwritten by the name after a root's own separator
    std::memcpy(joined + nameAt, name, nameBytes + 1);
    return true;
}

// One name of a list, spelt at out + at and ended there, the folder's spelling being the first
// string of out, and checked to lead from that folder to the chosen file. Its length, or -1.
int SpellListName(const WideRoutines& wide, const wchar_t* folder, bool separated, const wchar_t* name, char* out,
                  std::size_t at, std::size_t size) {
    const std::size_t folderLength = WideLength(folder), nameLength = WideLength(name);
    const std::size_t nameAt = folderLength + (separated ? 0 : 1);
    if (at + 1 >= size || nameAt + nameLength >= WIDE_PATH_SIZE) return -1;
    wchar_t path[WIDE_PATH_SIZE];   // the file as the folder and the name lead to it
    std::memcpy(path, folder, folderLength * sizeof(wchar_t));
    path[folderLength] = WIDE_SEPARATOR;
    CopyWide(path + nameAt, name, nameLength);
    const int spelt = SpellComponent(wide, path, path + nameAt, nameLength, out + at, size - 1 - at);
    if (spelt < 0) return -1;
    out[at + static_cast<std::size_t>(spelt)] = '\0';
    char joined[PATH_BUFFER_SIZE];
    if (!JoinSpelt(joined, out, separated, out + at) || !SameItem(wide, path, joined)) return -1;
    return spelt;
}

}  // namespace

bool SpellChosenPath(const WideRoutines& wide, const wchar_t* chosen, char* out, std::size_t size) {
    if (size == 0 || WideLength(chosen) >= WIDE_PATH_SIZE) return false;
    return SpellPath(wide, chosen, out, size) >= 0 && SameItem(wide, chosen, out);
}

bool SpellChosenList(const WideRoutines& wide, const wchar_t* chosen, char* out, std::size_t size) {
    if (size < 2 || !SpellChosenPath(wide, chosen, out, size - 1)) return false;   // a lone path, or the folder
    const bool separated = EndsInSeparator(out);   // the root of a drive ends in its separator
    std::size_t written = std::strlen(out) + 1;
    for (const wchar_t* name = chosen + WideLength(chosen) + 1; *name; name += WideLength(name) + 1) {
        const int spelt = SpellListName(wide, chosen, separated, name, out, written, size);
        if (spelt < 0) return false;
        written += static_cast<std::size_t>(spelt) + 1;
    }
    if (written >= size) return false;
    out[written] = '\0';   // the empty string that ends the list
    return true;
}
