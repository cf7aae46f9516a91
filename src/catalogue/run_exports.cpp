// The run-time family of exports that describe the object rather than act on a record.
#include "catalogue/descriptors.h"
#include "catalogue/routine_tables.h"
#include "state/run_data.h"

namespace {

constexpr std::uint32_t OBJECT_IDENTIFIER = 0x46494C45;   // 'FILE', F in the top byte

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
    infos->hostDefined20 = 1;
    infos->hostDefined24 = 100;
    infos->hostDefined26 = 0;
    infos->identifier = OBJECT_IDENTIFIER;
    infos->hostDefined32 = 0;
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
