// "Run application": a launch request handed to the host, its result kept in lastError.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ActionRunApplication(RunData* rd, HostWord program, HostWord commandLine);
