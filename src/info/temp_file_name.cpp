// "TempFileName$(": creates a new empty file in the system's temporary directory and answers
// its full path. The object never deletes the file it answers.
#include <cstdint>
#include <cstring>

#include "info/temp_file_name.h"
#include "state/host_services.h"
#include "state/path_names.h"
#include "state/windows_errors.h"

namespace {

constexpr char DEFAULT_PREFIX[] = "File";   // when the host gives no prefix at all
constexpr UINT NAME_NUMBERS = 0xFFFF;       // the numbers of a name: 1 to FFFF, in hexadecimal
// What the platform adds to the folder: up to three characters of prefix, four hexadecimal
// digits and ".tmp". A longer folder is refused: the name would not fit the 260-byte result.
constexpr std::size_t LONGEST_FOLDER = PATH_BUFFER_SIZE - 14;

// The temporary folder, when the platform gives one short enough to hold a new name. Given a
// longer one, or none (an empty folder would put the file in the current directory), the
// platform is not asked to make a file at all.
bool TemporaryFolder(char* folder) {
    const DWORD length = GetTempPathA(PATH_BUFFER_SIZE, folder);
    return length != 0 && length <= LONGEST_FOLDER;
}

// True when the platform named a file of the folder itself: a name ended within the result (the
// host would read past one that is not), whose folder is the temporary folder. A prefix such as
// ..\ or a\ would lead elsewhere.
bool NamesFileIn(const char* result, const char* folder) {
    if (!std::memchr(result, '\0', PATH_BUFFER_SIZE)) return false;
    const std::size_t length = std::strlen(folder);
    return FolderLength(result) == length && std::strncmp(result, folder, length) == 0;
}

// The names the folder holds, each as one bit of 65 536 chosen by its letters (letter case aside):
// a name whose bit is clear is not there. A bit may stand for several names, so a free name is
// now and then passed over as taken, which costs nothing but a try.
constexpr std::size_t NAME_BITS = 0x10000;
constexpr std::size_t BITS_PER_WORD = 32;
struct TakenNames {
    std::uint32_t words[NAME_BITS / BITS_PER_WORD];
};

std::size_t NameBit(const char* name) {
    char upper[PATH_BUFFER_SIZE];
    const std::size_t length = strnlen(name, PATH_BUFFER_SIZE - 1);
    std::memcpy(upper, name, length);
    CharUpperBuffA(upper, static_cast<DWORD>(length));
    std::uint32_t hash = 2166136261u;   // FNV-1a
    for (std::size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<std::uint8_t>(upper[i])) * 16777619u;
    return (hash ^ (hash >> 16)) % NAME_BITS;
}

bool IsMarked(const TakenNames& taken, std::size_t bit) {
    return (taken.words[bit / BITS_PER_WORD] >> (bit % BITS_PER_WORD)) & 1u;
}

void Mark(TakenNames& taken, std::size_t bit) {
    taken.words[bit / BITS_PER_WORD] |= 1u << (bit % BITS_PER_WORD);
}

// One walk over the folder, which costs far less than asking for each of 65 535 names when the
// folder is full.
void NoteTakenNames(const char* folder, TakenNames& taken) {
    std::memset(&taken, 0, sizeof taken);
    char pattern[PATH_BUFFER_SIZE + 1];
    const std::size_t length = std::strlen(folder);
    std::memcpy(pattern, folder, length);
    pattern[length] = '*';
    pattern[length + 1] = '\0';
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        Mark(taken, NameBit(entry.cFileName));
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// How the platform writes a number into a name: the name's start (the prefix as the platform keeps
// it), the number in hexadecimal, four digits or as few as it takes, and ".tmp"; learned from the
// names it gives 1 and FFFF. Where they read otherwise it is not known, and every number is asked.
struct NameForm {
    bool known;
    bool fourDigits;
    char start[PATH_BUFFER_SIZE];
};
constexpr char LAST_NUMBER_END[] = "ffff.tmp";
constexpr char NAME_END[] = ".tmp";
constexpr char HEX_DIGITS[] = "0123456789abcdef";
constexpr int DIGIT_BITS = 4;

// The name the form gives the number, at out (PATH_BUFFER_SIZE bytes); false when it does not fit.
bool WriteFormName(const NameForm& form, UINT number, char* out) {
    char digits[DIGIT_BITS + 1];
    int count = 0;
    for (int shift = 3 * DIGIT_BITS; shift >= 0; shift -= DIGIT_BITS) {
        const UINT digit = (number >> shift) & 0xF;
        if (digit || count || form.fourDigits || shift == 0) digits[count++] = HEX_DIGITS[digit];
    }
    digits[count] = '\0';
    const std::size_t startLength = std::strlen(form.start);
    if (startLength + count + sizeof NAME_END > PATH_BUFFER_SIZE) return false;
    std::memcpy(out, form.start, startLength);
    std::memcpy(out + startLength, digits, count);
    std::memcpy(out + startLength + count, NAME_END, sizeof NAME_END);
    return true;
}

NameForm LearnNameForm(const char* folder, const char* prefix, char* scratch) {
    NameForm form{};
    const std::size_t folderLength = std::strlen(folder), endLength = sizeof LAST_NUMBER_END - 1;
    if (!GetTempFileNameA(folder, prefix, NAME_NUMBERS, scratch) || !NamesFileIn(scratch, folder)) return form;
    const std::size_t length = std::strlen(scratch + folderLength);
    if (length < endLength || lstrcmpiA(scratch + folderLength + length - endLength, LAST_NUMBER_END) != 0) return form;
    std::memcpy(form.start, scratch + folderLength, length - endLength);
    form.start[length - endLength] = '\0';
    char expected[PATH_BUFFER_SIZE];
    if (!GetTempFileNameA(folder, prefix, 1, scratch) || !NamesFileIn(scratch, folder)) return form;
    constexpr bool DIGIT_FORMS[] = {false, true};
    for (const bool fourDigits : DIGIT_FORMS) {
        form.fourDigits = fourDigits;
        if (WriteFormName(form, 1, expected) && lstrcmpiA(scratch + folderLength, expected) == 0) {
            form.known = true;
            return form;
        }
    }
    return form;
}

// The platform names the file (GetTempFileNameA, given a number, makes none), this call makes it
// (CREATE_NEW), trying the numbers in turn: so only a new, empty file this call made is answered,
// never one that another program has, however full the folder. A name no file may have fails. A
// name the folder held when the call began is passed over unasked (through qemu under load,
// asking the platform for each of 65 535 names took over 10 seconds).
bool MakeTempFile(const char* folder, const char* prefix, char* result) {
    TakenNames taken;
    NoteTakenNames(folder, taken);
    const NameForm form = LearnNameForm(folder, prefix, result);
    const std::size_t folderLength = std::strlen(folder);
    char formName[PATH_BUFFER_SIZE];
    const UINT first = GetTickCount() % NAME_NUMBERS;
    for (UINT tried = 0; tried < NAME_NUMBERS; ++tried) {
        const UINT number = (first + tried) % NAME_NUMBERS + 1;
        if (form.known && WriteFormName(form, number, formName) && IsMarked(taken, NameBit(formName))) continue;
        if (GetTempFileNameA(folder, prefix, number, result) == 0 || !NamesFileIn(result, folder)) return false;
        if (IsMarked(taken, NameBit(result + folderLength))) continue;
        HANDLE made = CreateFileA(result, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE) return CloseHandle(made) != 0;
        if (!IsTaken(GetLastError())) return false;
    }
    return false;
}

// A new file in the temporary folder, its name in result, or the empty string; the folder is a
// scratch block.
void WriteTempFileName(const char* prefix, char* result) {
    auto* folder = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (!folder) return;
    if (!TemporaryFolder(folder) || !MakeTempFile(folder, prefix, result)) {
        result[PATH_BUFFER_SIZE - 1] = '\0';
        result[0] = '\0';
    }
    LocalFree(folder);
}

}  // namespace

// The prefix is fetched only when the host gives a result block.
extern "C" HostWord WINAPI ExpressionTempFileName(RunData* rd, HostWord token) {
    return FillStringResult(rd, PATH_BUFFER_SIZE, [rd, token](char* result) {
        const char* parameter = GetStringParameter(rd, token);
        WriteTempFileName(parameter ? parameter : DEFAULT_PREFIX, result);
    });
}
