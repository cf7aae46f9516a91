// The three descriptor tables: for each code its menu id, display string and parameters.
#include "catalogue/descriptors.h"
#include "resources/resource_ids.h"

namespace {

constexpr std::uint16_t CONDITION_FLAGS = 0x0220;
constexpr std::uint16_t TEXT = PARAM_TYPE_TEXT;
constexpr std::uint16_t NUMBER = PARAM_TYPE_NUMBER;
constexpr std::uint16_t EXPR_TEXT = PARAM_TYPE_EXPRESSION_TEXT;
constexpr std::uint16_t EXPR_INT = PARAM_TYPE_EXPRESSION_INTEGER;

// menuId, displayStringId, code, entryFlags, paramTypes, paramTitles
constexpr AceDescriptor CONDITION_ROWS[CONDITION_COUNT] = {
    {26000, 2600, 0, CONDITION_FLAGS, {0, 0}, {0, 0}},
    {26001, 2601, 1, CONDITION_FLAGS, {TEXT, 0}, {3001, 0}},
    {26002, 2602, 2, CONDITION_FLAGS, {TEXT, 0}, {3002, 0}},
    {26003, 2603, 3, CONDITION_FLAGS, {TEXT, 0}, {3003, 0}},
    {26004, 2604, 4, CONDITION_FLAGS, {TEXT, 0}, {3004, 0}},
    {26005, 2605, 5, CONDITION_FLAGS, {TEXT, 0}, {3005, 0}},
};

constexpr AceDescriptor ACTION_ROWS[ACTION_COUNT] = {
    {25000, 2500, 0, 0, {TEXT, 0}, {3006, 0}},
    {25001, 2501, 1, 0, {0, 0}, {0, 0}},
    {25002, 2502, 2, 0, {TEXT, 0}, {3007, 0}},
    {25003, 2503, 3, 0, {TEXT, 0}, {3008, 0}},
    {25004, 2504, 4, 0, {TEXT, 0}, {3009, 0}},
    {25005, 2505, 5, 0, {TEXT, 0}, {3010, 0}},
    {25006, 2506, 6, 0, {TEXT, TEXT}, {3011, 3012}},
    {25007, 2507, 7, 0, {TEXT, TEXT}, {3013, 3014}},
    {25008, 2508, 8, 0, {TEXT, TEXT}, {3015, 3016}},
    {25009, 2509, 9, 0, {TEXT, TEXT}, {3017, 3018}},
    {25010, 2510, 10, 0, {TEXT, TEXT}, {3019, 3020}},
    {25011, 2511, 11, 0, {0, 0}, {0, 0}},
    {25012, 3024, 12, 0, {TEXT, TEXT}, {3022, 3023}},
    {25015, 2515, 13, 0, {TEXT, 0}, {0, 0}},
    {25016, 2516, 14, 0, {NUMBER, 0}, {3026, 0}},
    {25018, 2518, 15, 0, {0, 0}, {0, 0}},
    {25019, 2519, 16, 0, {TEXT, NUMBER}, {3027, 3029}},
    {25017, 2517, 17, 0, {TEXT, 0}, {0, 0}},
    {25013, 2513, 18, 0, {TEXT, 0}, {3028, 0}},
    {25014, 2514, 19, 0, {TEXT, 0}, {3028, 0}},
    {25020, 2520, 20, 0, {0, 0}, {0, 0}},
    {25021, 2521, 21, 0, {0, 0}, {0, 0}},
    {25022, 2522, 22, 0, {TEXT, 0}, {3028, 0}},
};

// Row 16 carries code 22 and rows 17 to 22 codes 16 to 21: lookups go by code, never by row.
constexpr AceDescriptor EXPRESSION_ROWS[EXPRESSION_COUNT] = {
    {27000, 2700, 0, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27001, 2701, 1, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27002, 2702, 2, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27003, 2703, 3, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27004, 2704, 4, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27005, 2705, 5, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27006, 2706, 6, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27007, 2707, 7, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27008, 2708, 8, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27009, 2709, 9, 0, {0, 0}, {0, 0}},
    {27010, 2710, 10, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27011, 2711, 11, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27012, 2712, 12, 0, {0, 0}, {0, 0}},
    {27013, 2713, 13, 0, {EXPR_TEXT, 0}, {0, 0}},
    {27014, 2714, 14, 0, {0, 0}, {0, 0}},
    {27015, 2715, 15, 0, {0, 0}, {0, 0}},
    {27022, 2722, 22, 0, {0, 0}, {0, 0}},
    {27016, 2716, 16, 0, {0, 0}, {0, 0}},
    {27017, 2717, 17, 0, {0, 0}, {0, 0}},
    {27018, 2718, 18, 0, {0, 0}, {0, 0}},
    {27019, 2719, 19, 0, {0, 0}, {0, 0}},
    {27020, 2720, 20, 0, {0, 0}, {0, 0}},
    {27021, 2721, 21, 0, {0, 0}, {0, 0}},
    {27023, 2723, 23, 0, {0, 0}, {0, 0}},
    {27024, 2724, 24, 0, {EXPR_INT, 0}, {3030, 0}},
    {27025, 2725, 25, 0, {EXPR_TEXT, 0}, {3031, 0}},
    {27026, 2726, 26, 0, {0, 0}, {0, 0}},
    {27027, 2727, 27, 0, {0, 0}, {0, 0}},
    {27028, 2728, 28, 0, {0, 0}, {0, 0}},
    {27029, 2729, 29, 0, {0, 0}, {0, 0}},
    {27030, 2730, 30, 0, {0, 0}, {0, 0}},
    {27031, 2731, 31, 0, {0, 0}, {0, 0}},
    {27032, 2732, 32, 0, {0, 0}, {0, 0}},
};

}  // namespace

const DescriptorTable ConditionDescriptors = {CONDITION_ROWS, CONDITION_COUNT, IDM_CONDITION_MENU};
const DescriptorTable ActionDescriptors = {ACTION_ROWS, ACTION_COUNT, IDM_ACTION_MENU};
const DescriptorTable ExpressionDescriptors = {EXPRESSION_ROWS, EXPRESSION_COUNT, IDM_EXPRESSION_MENU};

const AceDescriptor* FindDescriptor(const DescriptorTable& table, HostWord code) {
    const std::uint16_t wanted = static_cast<std::uint16_t>(code);
    for (std::size_t i = 0; i < table.count; ++i)
        if (table.rows[i].code == wanted) return &table.rows[i];
    return nullptr;
}

int CodeFromMenu(const DescriptorTable& table, HostWord commandId) {
    const std::uint16_t wanted = static_cast<std::uint16_t>(commandId);
    for (std::size_t i = 0; i < table.count; ++i)
        if (table.rows[i].menuId == wanted) return table.rows[i].code;
    return -1;
}
