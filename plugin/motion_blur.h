#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"

#include <cstdint>

// Motion-blur modes of the effect's "Motion Blur" popup.
enum : A_long {
    motion_blur_comp_settings = 1,
    motion_blur_on = 2,
    motion_blur_off = 3,
};

// How many samples a frame draws and over what fraction of a frame. The caller
// sets the defaults (1 and 0.5) before the call.
void motion_blur_settings(const command_context& context, std::uint32_t& sample_count,
                          float& shutter_fraction);

// "Motion Blur Samples" rounded to a count.
std::uint32_t sample_count_from(double samples);

// Degrees of shutter to a fraction of a frame.
float shutter_fraction_from_degrees(float degrees);

// Host time units after the frame's own time at which sample k of n is drawn.
A_long sample_time_offset(A_long local_time_step, std::uint32_t k, float shutter_fraction,
                          std::uint32_t n);
