// The descriptor tables, one row per code of each kind, and the small routines that walk them.
#pragma once

#include "host/host_records.h"

constexpr std::size_t CONDITION_COUNT = 6;
constexpr std::size_t ACTION_COUNT = 23;
constexpr std::size_t EXPRESSION_COUNT = 33;

struct DescriptorTable {
    const AceDescriptor* rows;
    std::size_t count;
    int menuResource;
};

extern const DescriptorTable ConditionDescriptors;
extern const DescriptorTable ActionDescriptors;
extern const DescriptorTable ExpressionDescriptors;


// The row carrying this code (low 16 bits), or null for a code outside the table.
const AceDescriptor* FindDescriptor(const DescriptorTable& table, HostWord code);

// The code of the first row whose menu id equals the command id (low 16 bits), or -1.
int CodeFromMenu(const DescriptorTable& table, HostWord commandId);
