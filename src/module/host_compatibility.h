#pragma once

#include "host/host_records.h"

// True when the editor host is recent enough for the object's display strings.
bool IsHostCompatible(const EditorHost* host);
