#pragma once

#include "hostsdk/pf_effect.h"

// The effect's name and version, as the host and the user see them.
constexpr char product_name[] = "QV Vesk";
constexpr int product_version_major = 1;
constexpr int product_version_minor = 0;
constexpr int product_version_patch = 3;
constexpr int product_build = 74;

// Reported to the host at global set-up; the PiPL resource carries the same words.
constexpr A_u_long effect_version = PF_VERSION(1, 0, 0, PF_Stage_DEVELOP, 74);
constexpr A_long effect_out_flags =
    PF_OutFlag_CUSTOM_UI | PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI;
constexpr A_long effect_out_flags2 =
    PF_OutFlag2_I_USE_3D_CAMERA | PF_OutFlag2_I_USE_3D_LIGHTS |
    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG | PF_OutFlag2_SUPPORTS_SMART_RENDER |
    PF_OutFlag2_FLOAT_COLOR_AWARE | PF_OutFlag2_SUPPORTS_THREADED_RENDERING |
    PF_OutFlag2_MUTABLE_RENDER_SEQUENCE_DATA_SLOWER;
static_assert(effect_version == 0x0008004A);
static_assert(effect_out_flags == 0x06008000);
static_assert(effect_out_flags2 == 0x1800140E);
