// What an open handle tells of its file, and how the object opens files. Sizes and positions past
// 32 bits go through the calls every Windows the module is made for has (Windows 95 and NT 4.0
// have GetFileSize and SetFilePointer, not their ...Ex forms).
#pragma once

#include <windows.h>
#include <cstdint>

// The sharing the object opens files with: nobody else, readers alone (a file held while it is
// worked on), or every other holder (a handle that only asks questions; Windows 95, 98 and ME
// have no delete sharing).
constexpr DWORD SHARED_WITH_NOBODY = 0;
constexpr DWORD SHARED_WITH_READERS = FILE_SHARE_READ;
DWORD SharedWithEveryone();

// The access of a handle that opens no data: reads, writes and sharing stay untouched.
constexpr DWORD QUERY_ONLY = 0;

// Who a file or folder is, whatever name leads to it: its volume and its index on that volume.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
};

// What a copy needs to know of a held file: its attributes, creation time, names (links), size
// and identity. Two identities are compared only when both come from FactsOf (file_facts.h).
struct FileFacts {
    DWORD attributes = 0;
    FILETIME created{};
    DWORD links = 0;
    std::int64_t size = 0;
    FileIdentity identity{};
};

// The identity, attributes and times of the item under an open handle; false when the platform
// cannot give them.
bool InformationOf(HANDLE item, BY_HANDLE_FILE_INFORMATION& information);
bool IdentityOf(HANDLE item, FileIdentity& identity);
FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information);
bool SameIdentity(const FileIdentity& first, const FileIdentity& second);

// A size the platform gives as two 32-bit words.
constexpr std::int64_t JoinedSize(DWORD high, DWORD low) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
}

// The size of the file under an open handle; false when it cannot be had.
bool HandleFileSize(HANDLE file, std::int64_t& size);

// The position of an open handle in its file; false when it cannot be had.
bool HandlePosition(HANDLE file, std::int64_t& position);

// Moves an open handle to the end of its file, however long; false when it cannot.
bool WindToEnd(HANDLE file);

// Ends the file under an open handle at length bytes, cutting what follows; false when it cannot.
bool EndFileAt(HANDLE file, std::int64_t length);
