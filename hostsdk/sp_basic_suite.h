#pragma once

// The host's basic suite: every other suite is acquired and released through it.

#include "hostsdk/host_types.h"

struct SPBasicSuite {
    // Writes the suite's function table into *suite; an error when the host has none.
    SPErr (*AcquireSuite)(const char* name, A_long version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, A_long version);
};
