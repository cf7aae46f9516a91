// The watchdog of a script's lines. A line that runs past its limit, or crashes, fails with its
// number, the call it was in and the module's last call into the system; the host then cleans up
// and ends with exit code 1, whatever the line still waits for.
#pragma once

#include <string>

// Starts the watchdog's thread and its report of a crash. cleanUp runs before the host ends after
// a line that ran past its limit or crashed.
void StartLineWatchdog(void (*cleanUp)());
// A line starts: it is watched for the given seconds from now, as the call it names.
void WatchLine(int number, const std::string& call, unsigned seconds);
// The running line is now in this call, which may take the given seconds from the line's start
// (0: the line's own limit).
void WatchCall(const std::string& call, unsigned seconds);
// The running line ended.
void LineDone();
// Ends the watchdog's thread before the host ends: a thread still waiting on Wine's server while
// the process exits can make Wine print an error of its own.
void StopLineWatchdog();
