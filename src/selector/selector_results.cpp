// The result expressions. Every walk over the buffer stops at selectorBufferSize: a restored
// buffer need not hold a terminator, and a string not ended within the buffer counts as absent.
#include <cstring>

#include "selector/selector_results.h"
#include "state/host_services.h"
#include "state/name_characters.h"

namespace {


// The string starting at offset, when it is ended within the buffer.
struct BufferString {
    bool complete = false;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;

    bool Empty() const { return length == 0; }
    std::uint32_t Next() const { return offset + length + 1; }
};

BufferString StringAt(const RunData* rd, std::uint32_t offset) {
    BufferString found;
    found.offset = offset;
    if (!rd->selectorBuffer || offset >= rd->selectorBufferSize) return found;
    const void* end = std::memchr(rd->selectorBuffer + offset, '\0', rd->selectorBufferSize - offset);
    if (!end) return found;
    found.complete = true;
    found.length = static_cast<std::uint32_t>(static_cast<const char*>(end) - (rd->selectorBuffer + offset));
    return found;
}

// The first string when it is a complete, non-empty path.
bool HasFirstPath(const RunData* rd) {
    const BufferString first = StringAt(rd, 0);
    return first.complete && !first.Empty();
}

// Names after the first string, up to the first empty or unended one.
std::uint32_t CountListNames(const RunData* rd) {
    std::uint32_t count = 0;
    for (BufferString name = StringAt(rd, StringAt(rd, 0).Next()); name.complete && !name.Empty();
         name = StringAt(rd, name.Next()))
        ++count;
    return count;
}

std::uint32_t SelectedFileCount(const RunData* rd) {
    if (!HasFirstPath(rd)) return 0;
    if (!rd->multiSelect) return 1;
    const std::uint32_t names = CountListNames(rd);
    return names ? names : 1;   // a lone path in a list
}

// The buffer's own single path, or the static empty string when there is none.
HostWord OwnPath(const RunData* rd) {
    return HasFirstPath(rd) ? reinterpret_cast<HostWord>(rd->selectorBuffer) : StaticEmptyString();
}

// Entry n (from 1) of a multiple-selection result: the lone path itself, else a joined path.
HostWord ListResult(RunData* rd, std::uint32_t entry) {
    if (entry == 1 && SelectedFileCount(rd) == 1) return OwnPath(rd);
    return GetListEntry(rd, entry);
}

}  // namespace

HostWord GetListEntry(RunData* rd, std::uint32_t entry) {
    if (!HasFirstPath(rd)) return StaticEmptyString();
    const BufferString directory = StringAt(rd, 0);
    BufferString name = StringAt(rd, directory.Next());
    for (std::uint32_t step = 1; step < entry; ++step) {
        if (!name.complete || name.Empty()) return StaticEmptyString();   // the list ended first
        name = StringAt(rd, name.Next());
    }
    if (!name.complete || name.Empty()) return StaticEmptyString();

    const std::size_t size = directory.length + 1 + name.length + 1;
    char* joined = AllocateTempString(rd, size);
    if (!joined) return StaticEmptyString();
    std::memcpy(joined, rd->selectorBuffer, directory.length);
    std::size_t at = directory.length;
    // A root already ends in one; a directory whose last character's second byte is 0x5C does not.
    if (!EndsInSeparator(rd->selectorBuffer)) joined[at++] = PATH_SEPARATOR;
    std::memcpy(joined + at, rd->selectorBuffer + name.offset, name.length + 1);
    return reinterpret_cast<HostWord>(joined);
}

extern "C" HostWord WINAPI ExpressionFileSelReturn(RunData* rd, HostWord) {
    SetStringResult(rd);
    if (!rd->selectorBuffer) return StaticEmptyString();
    if (!rd->multiSelect) return OwnPath(rd);
    return ListResult(rd, 1);
}

extern "C" HostWord WINAPI ExpressionNumSelFiles(RunData* rd, HostWord) {
    return SelectedFileCount(rd);
}

// Indexes count from 0; in single selection the index is not fetched and the path comes back.
extern "C" HostWord WINAPI ExpressionFileSelReturnAt(RunData* rd, HostWord token) {
    if (!rd->multiSelect) return ExpressionFileSelReturn(rd, token);
    const auto index = static_cast<std::int32_t>(GetIntegerParameter(rd, token));
    SetStringResult(rd);
    if (index < 0) return StaticEmptyString();
    return ListResult(rd, static_cast<std::uint32_t>(index) + 1);
}
