#include "info/string_result.h"

#include "host/host_services.h"

char* EmptyResult(RunData* rd, std::size_t size) {
    char* result = AllocateTempString(rd, size);
    if (result) result[0] = '\0';
    return result;
}

HostWord StringResult(RunData* rd, const char* result) {
    if (!result) return EmptyStringResult(rd);
    SetStringResult(rd);
    return reinterpret_cast<HostWord>(result);
}
