#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"
#include "plugin/layer_texture.h"
#include "plugin/scene_properties.h"
#include "plugin/sequence_data.h"

class AePluginConnection;

// Three 16.16 fixed-point Euler angles (degrees) to the unit quaternion x, y, z, w
// the renderer expects; all zero gives (0, 0, 0, -1).
void euler_quaternion(PF_Fixed x, PF_Fixed y, PF_Fixed z, float out[4]);

// The effect's parameters at the current (sample) time: transform, material with
// the textures of the sample's checked-out layers, lights.
void build_sample_scene(AePluginConnection& connection, qvsdk::scene_properties& scene,
                        command_context& context, sequence_data& sequence,
                        const sample_layers& layers);
