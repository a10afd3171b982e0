#pragma once

#include "hostsdk/drawbot_suites.h"
#include "plugin/ae_plugin.h"
#include "plugin/layer_texture.h"
#include "plugin/renderer/renderer_proxy.h"
#include "plugin/texture_cache_entry.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The renderer's sample count for the "Multisampling" choice (1-based).
unsigned multisample_count(A_long choice);

// The effect: one object per process, serving every instance.
class AePluginConnection : public AePlugin {
public:
    AePluginConnection();
    ~AePluginConnection() override;

    void global_setup(command_context& context) override;
    void global_setdown(command_context& context) override;
    void params_setup(command_context& context) override;
    void update_params_ui(command_context& context) override;
    PF_Handle sequence_setup(command_context& context) override;
    void sequence_setdown(command_context& context, PF_Handle sequence) override;
    PF_Handle sequence_flatten(command_context& context, PF_Handle sequence) override;
    PF_Handle sequence_resetup(command_context& context, PF_Handle flat) override;
    void user_changed_param(command_context& context) override;
    void smart_render(command_context& context, qvsdk::render_data& frame) override;
    void smart_pre_render(command_context& context) override;
    void do_dialog(command_context& context) override;
    void event(command_context& context) override;
    void arbitrary_callback(command_context& context) override;

    float sample_counter = 0.0f;
    std::mutex render_mutex;
    // The thread that holds render_mutex through a render_turn: a command asked for
    // on that thread while it is held would wait for itself.
    std::atomic<std::thread::id> render_owner{};
    std::unique_ptr<qvsdk::RendererProxy> renderer_proxy;
    std::vector<texture_cache_entry> texture_cache;
    std::unique_ptr<std::uint8_t[]> banner_pixels;
    std::uint32_t banner_width = 0;
    std::uint32_t banner_state_height = 0;
    DRAWBOT_ImageRef banner_image_normal = nullptr;
    DRAWBOT_ImageRef banner_image_hover = nullptr;
    bool banner_hover = false;

    // One motion-blur sample: begin, draw and accumulate with weight 1 / sample_counter.
    void draw_sample();
    // A renderer exists and its thread has not ended.
    bool renderer_running() const;

private:
    // render_mutex held for one command, with the calling thread noted as its
    // owner. Asked for on the thread that already holds it (from inside one of a
    // frame's host calls) it throws `refusal` instead of waiting.
    class render_turn {
    public:
        render_turn(AePluginConnection& connection, const char* refusal);
        ~render_turn();
        render_turn(const render_turn&) = delete;
        render_turn& operator=(const render_turn&) = delete;

    private:
        AePluginConnection& connection;
    };

    void release_texture(std::uint32_t texture_id);
    // The renderer's part of a frame whose map layers are checked out, under
    // render_mutex.
    void draw_frame(command_context& context, qvsdk::render_data& frame,
                    const std::vector<sample_layers>& layers, float shutter_fraction,
                    std::int64_t t0);
};
