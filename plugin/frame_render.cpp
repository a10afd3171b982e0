// The frame render of AePluginConnection: one frame from the host's buffers to the
// finished output, every GPU step a job on the render thread.

#include "plugin/ae_plugin_connection.h"

#include "plugin/camera.h"
#include "plugin/effect_parameters.h"
#include "plugin/format_string.h"
#include "plugin/motion_blur.h"
#include "plugin/parameter_ids.h"
#include "plugin/renderer/cleanup_guard.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/sample_scene.h"
#include "plugin/sequence_data.h"
#include "plugin/texture_cache.h"

#include <windows.h>

#include <cstdint>

namespace {

std::int64_t now_nanoseconds()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::int64_t>(static_cast<double>(counter.QuadPart) * 1e9 /
                                     static_cast<double>(frequency.QuadPart));
}

void timing_line(const char* format, std::int64_t nanoseconds)
{
    const float ms = static_cast<float>(nanoseconds / 1000) * 0.001f;
    OutputDebugStringA(format_string(format, static_cast<double>(ms)).c_str());
}

// Runs sample(k) for each motion-blur sample with the host's current time moved to
// that sample's time, and puts the frame's own time back, also when one throws.
template <class Sample>
void at_each_sample_time(PF_InData& in_data, std::uint32_t sample_count, float shutter_fraction,
                         Sample&& sample)
{
    const A_long frame_time = in_data.current_time;
    cleanup_guard restore_time([&in_data, frame_time] { in_data.current_time = frame_time; });
    for (std::uint32_t k = 0; k < sample_count; ++k) {
        in_data.current_time = frame_time + sample_time_offset(in_data.local_time_step, k,
                                                               shutter_fraction, sample_count);
        sample(k);
    }
}

} // namespace

unsigned multisample_count(A_long choice)
{
    return choice <= 1 ? 0u : 1u << (choice - 1);
}

void AePluginConnection::draw_sample()
{
    qvsdk::begin_frame(renderer_proxy->render_thread());
    renderer_proxy->draw(1.0f / sample_counter);
    sample_counter += 1.0f;
}

bool AePluginConnection::renderer_running() const
{
    return renderer_proxy && renderer_proxy->render_thread().renderer();
}

void AePluginConnection::smart_render(command_context& context, qvsdk::render_data& frame)
{
    // A render thread that has failed runs nothing any more: the frame would come
    // back untouched, so the host hears that it was not drawn.
    if (!renderer_running()) {
        context.err = PF_Interrupt_CANCEL;
        return;
    }
    // An empty output has nothing to draw: the frame is done as it is.
    if (frame.output.width <= 0 || frame.output.height <= 0)
        return;
    PF_InData& in_data = *context.in_data;
    const std::int64_t t0 = now_nanoseconds();
    id_to_index();
    std::uint32_t sample_count = 1;
    float shutter_fraction = 0.5f;
    motion_blur_settings(context, sample_count, shutter_fraction);

    // The host renders a map layer when it is checked out, and that layer may hold
    // another instance of this effect, rendering on this thread or on another while
    // this one waits. So every sample's layers are checked out before the frame
    // takes the render mutex, and given back after it has let go, on every path.
    std::vector<sample_layers> layers(sample_count);
    cleanup_guard check_in([&context, &layers] {
        // Runs while an exception unwinds: a second exception would end the host.
        try {
            for (sample_layers& sample : layers)
                check_in_sample_layers(context, sample);
        } catch (...) {
        }
    });
    at_each_sample_time(in_data, sample_count, shutter_fraction,
                        [&](std::uint32_t k) { check_out_sample_layers(context, layers[k]); });
    draw_frame(context, frame, layers, shutter_fraction, t0);
}

void AePluginConnection::draw_frame(command_context& context, qvsdk::render_data& frame,
                                    const std::vector<sample_layers>& layers,
                                    float shutter_fraction, std::int64_t t0)
{
    render_turn turn(*this, "the host asked for a frame of this effect inside another of its "
                            "frames on the same thread");
    PF_InData& in_data = *context.in_data;
    PF_UtilCallbacks& utils = *in_data.utils;

    // The handle may be missing or empty (after a flatten): the frame then works on
    // fresh data of its own and lets go of its texture references at the end.
    PF_Handle handle = in_data.sequence_data;
    sequence_data* sequence = nullptr;
    if (handle && utils.host_get_handle_size(handle) >= static_cast<A_HandleSize>(sizeof(sequence_data)))
        sequence = static_cast<sequence_data*>(utils.host_lock_handle(handle));
    cleanup_guard unlock_sequence([&utils, handle] { utils.host_unlock_handle(handle); });
    if (!sequence)
        unlock_sequence.release();
    sequence_data fresh{};
    cleanup_guard drop_fresh([this, &fresh] {
        // Also runs while an exception unwinds: a texture left behind is better than
        // a second exception.
        try {
            for (std::uint32_t id : {fresh.diffuse, fresh.glossiness, fresh.illumination,
                                     fresh.bump, fresh.environment})
                drop_texture_reference(texture_cache, id, [this](std::uint32_t texture) {
                    release_texture(texture);
                });
        } catch (...) {
        }
    });
    if (sequence)
        drop_fresh.release();
    else
        sequence = &fresh;

    sample_counter = 1.0f;
    const unsigned samples = multisample_count(read_param(context, param_id::multisampling).u.pd.value);
    qvsdk::set_render_size(renderer_proxy->render_thread(), samples, frame);
    const std::int64_t t1 = now_nanoseconds();
    timing_line("Input Render: %.2f ms\n", t1 - t0);

    const std::int64_t t2 = now_nanoseconds();
    at_each_sample_time(in_data, static_cast<std::uint32_t>(layers.size()), shutter_fraction,
                        [&](std::uint32_t k) {
                            qvsdk::render_properties camera;
                            build_camera(camera, context, frame);
                            renderer_proxy->set_render_properties(camera);
                            qvsdk::scene_properties scene;
                            build_sample_scene(*this, scene, context, *sequence, layers[k]);
                            renderer_proxy->set_scene(scene);
                            draw_sample();
                        });
    const std::int64_t t3 = now_nanoseconds();
    timing_line("Render: %.2f ms\n", t3 - t2);

    qvsdk::output(renderer_proxy->render_thread(), renderer_proxy->last_scene().inverse_gamma);
    if (!renderer_running())
        context.err = PF_Interrupt_CANCEL;
    unlock_sequence();
    drop_fresh();
    timing_line("Full Render: %.2f ms\n", now_nanoseconds() - t0);
}
