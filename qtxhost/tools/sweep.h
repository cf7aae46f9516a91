// "qtxhost sweep": every condition, action and expression called with hostile parameters.
#pragma once

#include <string>

#include "runtime/host_runtime.h"

// Runs the whole sweep in worker processes and reports calls and crashes; nonzero on any crash.
int Sweep(const std::string& hostPath, const std::string& modulePath);
// The worker: makes the calls from number first on, announcing each before it is made.
int SweepWorker(Host& host, std::size_t first);
