#include "tools/sweep_plan.h"

namespace {

// Texts: null, empty, around the 260-byte path limit, and far beyond it.
std::vector<Value> HostileTexts() {
    std::vector<Value> texts = {Value{}, Value::Str("")};
    for (std::size_t length : {259u, 260u, 300u, 70000u}) texts.push_back(Value::Str(std::string(length, 'a')));
    return texts;
}

std::vector<Value> HostileNumbers() {
    return {Value::Int(0), Value::Int(-1), Value::Int(0x7FFFFFFF), Value::Int(0x80000000LL)};
}

std::vector<Value> VariantsFor(std::uint16_t type) {
    return (type == PARAM_TYPE_TEXT || type == PARAM_TYPE_EXPRESSION_TEXT) ? HostileTexts() : HostileNumbers();
}

void PlanEntry(const CatalogueEntry& entry, std::vector<SweepCall>& calls) {
    const int count = ParameterCount(entry);
    if (count == 0) {
        calls.push_back({&entry, {}});
        return;
    }
    for (const Value& first : VariantsFor(entry.paramTypes[0])) {
        if (count == 1) {
            calls.push_back({&entry, {first}});
            continue;
        }
        for (const Value& second : VariantsFor(entry.paramTypes[1])) calls.push_back({&entry, {first, second}});
    }
}

}  // namespace

std::vector<SweepCall> PlanSweep(const CatalogueView& view) {
    std::vector<SweepCall> calls;
    for (const EntryKind kind : ENTRY_KINDS)
        for (const CatalogueEntry& entry : view.entries[kind]) PlanEntry(entry, calls);
    return calls;
}
