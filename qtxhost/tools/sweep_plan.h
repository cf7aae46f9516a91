// The calls of a sweep, in a fixed order so that a worker can resume after a crash.
#pragma once

#include <vector>

#include "runtime/catalogue_view.h"
#include "runtime/script_values.h"

struct SweepCall {
    const CatalogueEntry* entry;
    std::vector<Value> args;
};

std::vector<SweepCall> PlanSweep(const CatalogueView& view);
