// The run-time life-cycle exports other than creation and destruction: those that describe the
// object (its routine tables, its record's size) and those with nothing to do (HandleRunObject,
// and one routine for DisplayRunObject, ReInitRunObject, PauseRunObject and ContinueRunObject).
#include "catalogue/catalogue_exports.h"
#include "catalogue/descriptors.h"
#include "catalogue/routine_tables.h"
#include "state/run_data.h"

namespace {

constexpr std::uint32_t OBJECT_IDENTIFIER = 0x46494C45;   // 'FILE', F in the top byte

// The host-defined fields of RunInfos, named by their offsets: observed values whose meaning is not
// known.
constexpr std::uint32_t HOST_DEFINED_20 = 1;
constexpr std::uint8_t HOST_DEFINED_24 = 100;
constexpr std::uint16_t HOST_DEFINED_26 = 0;
constexpr std::uint16_t HOST_DEFINED_32 = 0;

}  // namespace

extern "C" short WINAPI GetRunObjectInfos(HostWord, RunInfos* infos) {
    if (!infos) return 1;
    infos->conditionRoutines = ConditionRoutines;
    infos->actionRoutines = ActionRoutines;
    infos->expressionRoutines = ExpressionRoutines;
    infos->conditionCount = CONDITION_COUNT;
    infos->actionCount = ACTION_COUNT;
    infos->expressionCount = EXPRESSION_COUNT;
    infos->editDataSize = sizeof(EditData);
    infos->hostDefined20 = HOST_DEFINED_20;
    infos->hostDefined24 = HOST_DEFINED_24;
    infos->hostDefined26 = HOST_DEFINED_26;
    infos->identifier = OBJECT_IDENTIFIER;
    infos->hostDefined32 = HOST_DEFINED_32;
    return 1;
}

extern "C" short WINAPI GetRunObjectDataSize(HostWord, HostWord) {
    return sizeof(RunData);
}

extern "C" short WINAPI HandleRunObject(RunData*) {
    return 1;
}

// DisplayRunObject, ReInitRunObject, PauseRunObject and ContinueRunObject: one routine, four names.
extern "C" short WINAPI IdleRunObject(RunData*) {
    return 0;
}
