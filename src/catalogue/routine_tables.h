// The three routine tables: one handler per code of each kind, then a null entry.
#pragma once

#include "catalogue/descriptors.h"

extern const ConditionRoutine ConditionRoutines[CONDITION_COUNT + 1];
extern const ActionRoutine ActionRoutines[ACTION_COUNT + 1];
extern const ExpressionRoutine ExpressionRoutines[EXPRESSION_COUNT + 1];
