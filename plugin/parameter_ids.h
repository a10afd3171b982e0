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
constexpr A_long rotation_x = 12;
constexpr A_long rotation_y = 13;
constexpr A_long rotation_z = 14;
constexpr A_long surface = 50;
constexpr A_long color = 202;
constexpr A_long diffuse = 203;
constexpr A_long glossiness = 204;
constexpr A_long specular = 205;
constexpr A_long illumination = 206;
constexpr A_long fresnel = 207;
constexpr A_long fresnel_bias = 208;
constexpr A_long illumination_color = 209;
constexpr A_long opacity = 210;
constexpr A_long shadow_light = 211;
constexpr A_long ambient = 212;
constexpr A_long shadow_light_contrast = 213;
constexpr A_long bump_influence = 214;
constexpr A_long reflectivity = 218;
constexpr A_long shadow_light_expansion = 220;
constexpr A_long edge_feather = 221;
constexpr A_long edge_shrink = 222;
constexpr A_long environment_gamma = 518;
constexpr A_long environment_brightness = 519;
constexpr A_long env_rotation_x = 522;
constexpr A_long env_rotation_y = 523;
constexpr A_long env_rotation_z = 524;
constexpr A_long uv_type = 702;
constexpr A_long uv_repeat_x = 703;
constexpr A_long uv_repeat_y = 704;
constexpr A_long uv_offset_x = 705;
constexpr A_long uv_offset_y = 706;
constexpr A_long box_uv_feathering = 707;
constexpr A_long uv_mode = 708;
constexpr A_long uv_rotation = 709;
constexpr A_long unlit_only = 2003;
constexpr A_long gamma = 2004;
constexpr A_long use_default_lights = 2005;
} // namespace param_id
