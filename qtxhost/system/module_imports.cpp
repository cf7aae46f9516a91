#include "system/module_imports.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

// A thunk is a few instructions and its data, in one block the host writes and runs. It stores
// its own address in the block's "last call" word (a plain store, on the module's thread) and
// jumps through its target field, touching no register a call passes arguments or keeps values in.
struct ImportThunk {
    std::uint8_t code[40];
    void* target;
    void* real;
    char dll[32];
    char function[64];
};

constexpr std::size_t BLOCK_BYTES = 64 * 1024;
constexpr std::size_t FIRST_THUNK = 16;   // the "last call" word comes first
constexpr std::size_t THUNK_CAPACITY = (BLOCK_BYTES - FIRST_THUNK) / sizeof(ImportThunk);
constexpr DWORD EXECUTABLE = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

std::uint8_t* block = nullptr;   // made before the host starts a thread of its own
std::size_t thunkCount = 0;

// The line watchdog reads the word on its own thread: an atomic load of the aligned word (the
// block starts a page) sees the whole of what the thunk stored, and the thunk it names.
const ImportThunk* LastEntered() {
    return std::atomic_ref(*reinterpret_cast<ImportThunk**>(block)).load(std::memory_order_acquire);
}

ImportThunk* Thunks() {
    return reinterpret_cast<ImportThunk*>(block + FIRST_THUNK);
}

std::uint8_t* Put(std::uint8_t* at, std::initializer_list<std::uint8_t> opcode) {
    for (std::uint8_t byte : opcode) *at++ = byte;
    return at;
}

template <typename Operand>
std::uint8_t* Put(std::uint8_t* at, Operand operand) {
    std::memcpy(at, &operand, sizeof operand);
    return at + sizeof operand;
}

// The instructions: note this thunk as the last call, then jump through its target field.
void WriteCode(ImportThunk* thunk) {
    std::uint8_t* at = thunk->code;
#ifdef _WIN64
    constexpr std::size_t DISPLACEMENT = 4;   // a 32-bit offset from the next instruction
    const auto from = [](const std::uint8_t* next, const void* to) {
        return static_cast<std::int32_t>(static_cast<const std::uint8_t*>(to) - next);
    };
    at = Put(at, {0x4C, 0x8D, 0x1D});   // lea r11, [thunk]
    at = Put(at, from(at + DISPLACEMENT, thunk));
    at = Put(at, {0x4C, 0x89, 0x1D});   // mov [last call], r11
    at = Put(at, from(at + DISPLACEMENT, block));
    Put(at, {0x41, 0xFF, 0x63, static_cast<std::uint8_t>(offsetof(ImportThunk, target))});   // jmp [r11 + target]
#else
    at = Put(at, {0xC7, 0x05});   // mov dword [last call], thunk
    at = Put(at, block);
    at = Put(at, thunk);
    at = Put(at, {0xFF, 0x25});   // jmp [target]
    Put(at, &thunk->target);
#endif
}

ImportThunk* NewThunk(const char* dll, const char* function, void* real) {
    if (!block || thunkCount == THUNK_CAPACITY) return nullptr;
    ImportThunk* thunk = &Thunks()[thunkCount++];
    thunk->target = thunk->real = real;
    lstrcpynA(thunk->dll, dll, sizeof thunk->dll);
    lstrcpynA(thunk->function, function, sizeof thunk->function);
    WriteCode(thunk);
    FlushInstructionCache(GetCurrentProcess(), thunk, sizeof *thunk);
    return thunk;
}

// True for an address in code; an import of data (a variable of the runtime) is not called.
bool IsCode(const void* address) {
    MEMORY_BASIC_INFORMATION region{};
    return VirtualQuery(address, &region, sizeof region) && (region.Protect & EXECUTABLE);
}

void PointSlot(void** slot, void* entry) {
    DWORD previous = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = entry;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
}

}  // namespace

bool WrapModuleImports(HMODULE module, std::string& error) {
    auto* base = reinterpret_cast<std::uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || headers->Signature != IMAGE_NT_SIGNATURE) {
        error = "the module's headers cannot be read";
        return false;
    }
    block = static_cast<std::uint8_t*>(VirtualAlloc(nullptr, BLOCK_BYTES, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!block) {
        error = "no room for the thunks";
        return false;
    }
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return true;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
        const char* dll = reinterpret_cast<const char*>(base + entry->Name);
        const DWORD lookup = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + lookup);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            void** slot = reinterpret_cast<void**>(&slots->u1.Function);
            if (!IsCode(*slot)) continue;
            std::string function(1, '#');
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                function += std::to_string(IMAGE_ORDINAL(names->u1.Ordinal));
            else
                function = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            ImportThunk* thunk = NewThunk(dll, function.c_str(), *slot);
            if (!thunk) {
                error = "no room for a thunk of " + function;
                return false;
            }
            PointSlot(slot, thunk);
        }
    }
    return true;
}

void RetargetCalls(const char* function, void* target) {
    for (std::size_t i = 0; i < thunkCount; ++i) {
        ImportThunk& thunk = Thunks()[i];
        if (std::strcmp(thunk.function, function) == 0) thunk.target = target ? target : thunk.real;
    }
}

void* LookedUpEntry(const char* dll, const char* function, void* real, void* target) {
    for (std::size_t i = 0; i < thunkCount; ++i) {
        ImportThunk& thunk = Thunks()[i];
        if (thunk.real == real && std::strcmp(thunk.function, function) == 0) return &thunk;
    }
    ImportThunk* thunk = NewThunk(dll, function, real);
    if (!thunk) return target ? target : real;   // no room: the call goes unnoted
    thunk->target = target ? target : real;
    return thunk;
}

std::string LastModuleCall() {
    const ImportThunk* last = block ? LastEntered() : nullptr;
    return last ? std::string(last->dll) + "!" + last->function : "";
}
