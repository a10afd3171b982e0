#pragma once

#include "hostsdk/pf_effect.h"

#include <cstdint>

// What every operation of the effect gets from the host for one command.
struct command_context {
    PF_InData* in_data;
    PF_OutData* out_data;
    PF_ParamDef** params;
    void* extra;        // the command's extra record
    std::uint32_t err;  // returned to the host
    bool rendering = false; // smart render: a refused parameter ends the frame
};
