#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"
#include "plugin/light_properties.h"

#include <vector>

// The composition's lights that are on at the current time, in layer order.
std::vector<qvsdk::light_properties> collect_comp_lights(const command_context& context);

// A white parallel key light from the upper left and a grey ambient fill.
qvsdk::light_properties default_key_light();
qvsdk::light_properties default_fill_light();

// in_point <= time < in_point + duration, all in composition time, compared exactly
// whatever their time scales.
bool light_is_present(const A_Time& in_point, const A_Time& duration, const A_Time& time);
