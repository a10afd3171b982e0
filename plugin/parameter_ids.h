#pragma once

#include "hostsdk/host_types.h"

// Disk ids of the parameters other code reads; the host stores values under them.
namespace param_id {
constexpr A_long header = 1;
constexpr A_long object_3d = 10;
constexpr A_long position = 11;
constexpr A_long radius = 16;
constexpr A_long diffuse_layer = 502;
constexpr A_long diffuse_gamma = 503;
constexpr A_long diffuse_brightness = 513;
constexpr A_long diffuse_blend = 217;
constexpr A_long glossiness_layer = 504;
constexpr A_long glossiness_gamma = 505;
constexpr A_long glossiness_brightness = 514;
constexpr A_long illumination_layer = 506;
constexpr A_long illumination_gamma = 507;
constexpr A_long illumination_brightness = 515;
constexpr A_long bump_layer = 508;
constexpr A_long bump_intensity = 512;
constexpr A_long use_normal_map = 511;
constexpr A_long flip_normal_channels = 516;
constexpr A_long bump_falloff = 219;
constexpr A_long environment_layer = 517;
constexpr A_long motion_blur = 2102;
constexpr A_long motion_blur_samples = 2103;
constexpr A_long shutter_angle = 2104;
constexpr A_long multisampling = 2002;
} // namespace param_id
