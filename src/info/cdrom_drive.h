// "CDDriveFromLabel$(": the CD-ROM drive holding a disc with a given volume label.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ExpressionCDDriveFromLabel(RunData* rd, HostWord token);   // 25
