#include "plugin/layer_texture.h"

#include "hostsdk/pf_suites.h"
#include "plugin/effect_parameters.h"
#include "plugin/format_string.h"
#include "plugin/layer_checkout.h"
#include "plugin/parameter_ids.h"
#include "plugin/renderer/out_of_gpu_memory.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/suite_handler.h"
#include "plugin/texture_cache.h"

#include <windows.h>

#include <chrono>
#include <utility>

namespace {

std::uint32_t upload(qvsdk::RenderThread& thread, const qvsdk::pixel_buffer& pixels,
                     std::uint32_t mode)
{
    std::uint32_t texture = qvsdk::load_layer_texture(thread, pixels);
    if (texture == 0 || mode == upload_colour)
        return texture;
    std::uint32_t converted = 0;
    try {
        converted = mode == upload_bump_to_normal
                        ? qvsdk::bump_to_normal(thread, texture, pixels.width, pixels.height)
                        : qvsdk::build_environment(thread, texture);
    } catch (const qvsdk::out_of_gpu_memory&) {
        // The thread goes on after a map that did not fit: its upload must not stay behind.
        qvsdk::release_texture(thread, texture);
        throw;
    }
    qvsdk::release_texture(thread, texture);
    return converted;
}

} // namespace

void check_out_sample_layers(command_context& context, sample_layers& layers)
{
    const std::pair<A_long, qvsdk::pixel_buffer*> order[] = {
        {param_id::diffuse_layer, &layers.diffuse},
        {param_id::glossiness_layer, &layers.glossiness},
        {param_id::illumination_layer, &layers.illumination},
        {param_id::bump_layer, &layers.bump},
        {param_id::environment_layer, &layers.environment},
    };
    for (const auto& [disk_id, pixels] : order) {
        if (checkout_layer_pixels(context, disk_id, *pixels)) {
            layers.held.push_back(disk_id);
            continue;
        }
        // A map the host would not hand out (the user interrupted, say) ends the
        // frame there: each checkout left may render a whole layer for nothing.
        if (context.err != 0)
            throw parameter_refused(static_cast<PF_Err>(context.err));
        pixels->width = pixels->height = 0;
        pixels->pixels = nullptr;
    }
}

void check_in_sample_layers(command_context& context, sample_layers& layers)
{
    for (A_long disk_id : layers.held)
        checkin_layer_pixels(context, disk_id);
    layers.held.clear();
}

std::uint32_t load_layer_texture(layer_texture_context& context, A_long disk_id,
                                 const qvsdk::pixel_buffer& pixels, std::uint32_t& slot,
                                 std::uint32_t upload_mode)
{
    command_context& command = context.command;
    PF_State state{};
    std::uint32_t found = 0;
    suite_handler suites(command.in_data->pica_basicP);
    const PF_ParamUtilsSuite3* utils = nullptr;
    try {
        utils = &suites.get<PF_ParamUtilsSuite3>();
    } catch (const std::exception&) {
        utils = nullptr; // without the suite every lookup misses
    }
    if (utils) {
        const A_Time no_duration{0, context.comp_time.scale};
        utils->PF_GetCurrentState(command.in_data->effect_ref, param_index(disk_id),
                                  &context.comp_time, &no_duration, &state);
        for (texture_cache_entry& entry : context.cache) {
            A_Boolean same = 0;
            utils->PF_AreStatesIdentical(command.in_data->effect_ref, &entry.param_state, &state,
                                         &same);
            if (same && entry.width == pixels.width && entry.height == pixels.height &&
                entry.upload_mode == upload_mode) {
                entry.refcount += 1;
                found = entry.texture_id;
                break;
            }
        }
    }

    // The new reference is already taken, so getting the same texture back never
    // lets it reach zero here.
    qvsdk::RenderThread& thread = context.thread;
    drop_texture_reference(context.cache, slot,
                           [&thread](std::uint32_t id) { qvsdk::release_texture(thread, id); });
    slot = 0;
    if (found) {
        slot = found;
        return found;
    }

    const auto start = std::chrono::steady_clock::now();
    if (!pixels.pixels)
        return 0;
    const std::uint32_t texture = upload(thread, pixels, upload_mode);
    if (texture == 0)
        return 0;
    context.cache.push_back(
        texture_cache_entry{1, texture, pixels.width, pixels.height, state, upload_mode});
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
    OutputDebugStringA(format_string("Load Layer %d: %.2f ms\n", static_cast<int>(disk_id),
                                     static_cast<double>(static_cast<float>(nanoseconds / 1000) *
                                                         0.001f))
                           .c_str());
    slot = texture;
    return texture;
}
