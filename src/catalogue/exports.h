// Every export of the module as the host calls it, declared where it is defined: the test host
// takes its types from here, so a change on either side fails to compile.
#pragma once

#include "catalogue/catalogue_exports.h"
#include "module/identity.h"
#include "state/run_object.h"
#include "state/saved_state.h"
