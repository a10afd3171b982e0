#pragma once

#include "hostsdk/aegp_suites.h"
#include "hostsdk/drawbot_suites.h"
#include "hostsdk/pf_custom_ui.h"
#include "hostsdk/pf_effect.h"
#include "hostsdk/pf_suites.h"
#include "hostsdk/sp_basic_suite.h"
#include "hostsdk/pf_smart_render.h"
#include "tools/qvhost/composition.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct PF_ProgressInfo {
    int instance;
};

namespace qvhost {

// One parameter definition as the effect handed it to add_param, with copies of the
// texts it pointed to at that moment.
struct recorded_param {
    PF_ParamIndex index = 0;
    PF_ParamDef def{};
    std::string name;
    std::string choices;  // popups
    std::string label;    // check boxes
};

struct suite_count {
    int acquired = 0;
    int released = 0;
};

// One frame that the effect rendered, as the output buffer held it.
struct rendered_frame {
    PF_Err err = PF_Err_NONE;
    A_short bit_depth = 8;
    int width = 0;
    int height = 0;
    A_long row_bytes = 0;
    std::vector<std::uint8_t> bytes;

    // Straight red, green, blue, alpha in 0..1 (16-bit full value 32768).
    std::array<float, 4> rgba(int x, int y) const;
    // The whole frame as 8-bit RGBA rows for a PNG file.
    std::vector<std::uint8_t> rgba8() const;
    // The frame as a picture to hand out as a layer (a precomposition's, say).
    host_image picture() const;
};

// A host for one effect module in this process: it drives the commands the way the
// host does and keeps books on everything the effect borrows (handles, suites,
// parameter checkouts, effect and stream references), so tests can assert on them.
class test_host {
public:
    explicit test_host(PF_EffectMainFunc entry);
    ~test_host();
    test_host(const test_host&) = delete;
    test_host& operator=(const test_host&) = delete;

    // One effect instance's sequence data, as the host keeps it between commands.
    struct instance {
        PF_Handle sequence_data = nullptr;
    };

    PF_Err send(PF_Cmd command, void* extra = nullptr, instance* on = nullptr);
    PF_Err global_setup() { return send(PF_Cmd_GLOBAL_SETUP); }
    PF_Err global_setdown() { return send(PF_Cmd_GLOBAL_SETDOWN); }
    PF_Err params_setup();
    PF_Err update_params_ui() { return send(PF_Cmd_UPDATE_PARAMS_UI); }
    PF_Err user_changed_param() { return send(PF_Cmd_USER_CHANGED_PARAM); }
    PF_Err sequence_setup(instance& on) { return send(PF_Cmd_SEQUENCE_SETUP, nullptr, &on); }
    PF_Err sequence_resetup(instance& on) { return send(PF_Cmd_SEQUENCE_RESETUP, nullptr, &on); }
    PF_Err sequence_flatten(instance& on) { return send(PF_Cmd_SEQUENCE_FLATTEN, nullptr, &on); }
    PF_Err sequence_setdown(instance& on) { return send(PF_Cmd_SEQUENCE_SETDOWN, nullptr, &on); }

    // The composition around the effect's layer: its size, pixel aspect and frame
    // rate set the in-data of every frame. Time is in units of `time_scale`, a frame
    // lasting `frame_duration` of them.
    composition comp;
    static constexpr A_long frame_duration = 1000;
    A_u_long time_scale() const { return comp.frame_rate * frame_duration; }
    A_long time() const { return in_data.current_time; }
    void set_frame(A_long frame) { in_data.current_time = frame * frame_duration; }
    void set_downsample(A_long num, A_u_long den) { set_downsample({num, den}, {num, den}); }
    void set_downsample(PF_RationalScale x, PF_RationalScale y);
    // Points a layer parameter at a composition layer (an index), or at none (-1).
    void use_layer(A_long disk_id, long layer_index);
    // A parameter whose value changes with the effect's time.
    std::map<A_long, std::function<void(PF_ParamDef&, A_long time)>> animations;

    // Smart pre-render and smart render of one frame at the current time, in this
    // bit depth (8, 16 or 32).
    rendered_frame render(instance& on, A_short bit_depth = 8);
    int layer_checkouts(A_long checkout_id) const;
    int layer_checkins(A_long checkout_id) const;
    // The part of the (downsampled) layer the output buffer covers; empty for the
    // whole layer. Its top-left corner is the buffer's origin.
    PF_LRect output_area{};
    // Smart-render checkouts of these ids fail with the given code.
    std::map<A_long, PF_Err> failing_checkouts;
    // The next smart-render checkout of each id hands out the picture its function
    // makes then: a frame rendered with render_nested, say, as a host renders a
    // precomposition when its pixels are asked for.
    std::map<A_long, std::function<host_image()>> rendered_layers;
    // A frame rendered while another is in progress (inside one of its host calls,
    // on this thread or on another while it waits); the outer frame's buffers and
    // in-data are as they were when this returns.
    rendered_frame render_nested(instance& on, A_short bit_depth = 8);
    // A command without extra record sent the same way, inside another command.
    PF_Err send_nested(PF_Cmd command, instance& on);
    // The next checkout of each of these parameters (disk ids) fails with the code.
    std::map<A_long, PF_Err> refused_params;
    int state_queries() const { return state_query_count; }

    // What the effect reported.
    const PF_OutData& last_out() const { return out_data; }
    PF_Handle global_data() const { return in_data.global_data; }
    A_long num_params() const { return counted_params; }
    const std::vector<recorded_param>& params() const { return recorded; }
    const recorded_param* param_by_id(A_long disk_id) const;
    int ui_registrations() const { return registered_ui; }
    A_long ui_events() const { return registered_events; }
    const std::string& registered_name() const { return aegp_name; }
    int registrations() const { return aegp_registrations; }
    bool hidden(A_long disk_id) const;
    int hidden_calls() const { return hide_calls; }

    // Current values the effect reads through checkout_param.
    PF_ParamDef& value_by_id(A_long disk_id);
    void choose_layer(A_long disk_id, AEGP_LayerIDVal layer) { layer_ids[disk_id] = layer; }

    // Handles: allocated through the callbacks, each block exactly as large as asked
    // and followed by a no-access page, so a read past its end faults.
    PF_Handle new_handle(A_HandleSize size);
    void* lock(PF_Handle handle);
    void unlock(PF_Handle handle);
    void dispose(PF_Handle handle);
    A_HandleSize handle_size(PF_Handle handle) const;
    std::size_t live_handles() const { return handles.size(); }
    int locked_handles() const;
    int bad_handle_calls() const { return bad_handle_uses; }
    bool is_live(PF_Handle handle) const { return handles.count(handle) != 0; }
    PF_UtilCallbacks& utilities() { return utils; }

    // Suites.
    const suite_count& suite(const std::string& name, A_long version) const;
    int outstanding_suites() const;
    int total_acquisitions() const;
    void refuse_suite(const std::string& name, A_long version, bool refuse = true);
    // Serves a suite from another part of the test (the drawing recorder); returns
    // the table it replaces, null when there was none.
    const void* provide_suite(const std::string& name, A_long version, const void* table);
    int bad_suite_releases() const { return bad_releases; }

    // Borrowed references that must come back within the command.
    int outstanding_checkouts() const { return checkouts; }
    int checkins_without_checkout() const { return bad_checkins; }
    int live_effect_refs() const { return effects; }
    int live_streams() const { return static_cast<int>(open_streams.size()); }
    int live_stream_values() const { return static_cast<int>(open_values.size()); }
    // Disposals of a stream or value that is not live.
    int bad_stream_calls() const { return bad_stream_uses; }
    int released_drawing_objects() const { return drawing_releases; }

    // Called with the callback's name at the start of every host callback; a test
    // makes it throw to fail the effect in the middle of an operation.
    std::function<void(const std::string& call)> fault;
    // Runs as a render engine unless a test answers the effect's windows: with
    // no one to close it, a modal window would hang the test.
    bool render_engine = true;
    HWND main_window = reinterpret_cast<HWND>(0x2a0);
    AEGP_PluginID plugin_id = 7;

    static test_host& current();

private:
    struct handle_record {
        handle_record() = default;
        handle_record(const handle_record&) = delete;
        handle_record& operator=(const handle_record&) = delete;
        ~handle_record();
        void* pages = nullptr;  // the reservation: the block's pages, then the guard
        A_HandleSize size = 0;
        int locks = 0;
    };
    struct suite_entry {
        const void* table = nullptr;
        bool refused = false;
        suite_count count;
    };
    struct stream_record {
        PF_ParamIndex index;
    };

    void enter(const char* call);
    void install_comp_suites();
    const host_layer* layer_of(AEGP_LayerH layer) const;
    AEGP_LayerH handle_of(std::size_t index) const;
    const host_layer* chosen_layer(A_long disk_id) const;
    A_Time comp_time_of(A_long effect_time, A_u_long scale) const;

    static A_Err get_parent_comp(AEGP_LayerH, AEGP_CompH*);
    static A_Err get_layer_flags(AEGP_LayerH, AEGP_LayerFlags*);
    static A_Err get_num_layers(AEGP_CompH, A_long*);
    static A_Err get_layer_by_index(AEGP_CompH, A_long, AEGP_LayerH*);
    static A_Err get_object_type(AEGP_LayerH, AEGP_ObjectType*);
    static A_Err get_in_point(AEGP_LayerH, AEGP_LTimeMode, A_Time*);
    static A_Err get_duration(AEGP_LayerH, AEGP_LTimeMode, A_Time*);
    static A_Err is_video_on(AEGP_LayerH, A_Boolean*);
    static A_Err get_layer_to_world(AEGP_LayerH, const A_Time*, A_Matrix4*);
    static A_Err get_item_from_comp(AEGP_CompH, AEGP_ItemH*);
    static A_Err get_comp_flags(AEGP_CompH, AEGP_CompFlags*);
    static A_Err get_shutter(AEGP_CompH, A_Ratio*, A_Ratio*);
    static A_Err get_item_aspect(AEGP_ItemH, A_Ratio*);
    static A_Err get_camera_type(AEGP_LayerH, AEGP_CameraType*);
    static A_Err get_light_type(AEGP_LayerH, AEGP_LightType*);
    static A_Err get_layer_stream(AEGP_LayerH, AEGP_LayerStream, AEGP_LTimeMode, const A_Time*,
                                  A_Boolean, AEGP_StreamVal2*, AEGP_StreamType*);
    static A_Err get_effect_camera(PF_ProgPtr, const A_Time*, AEGP_LayerH*);
    static A_Err get_camera_matrix(PF_ProgPtr, const A_Time*, A_Matrix4*, A_FpLong*, A_short*,
                                   A_short*);
    static PF_Err get_current_state(PF_ProgPtr, PF_ParamIndex, const A_Time*, const A_Time*,
                                    PF_State*);
    static PF_Err are_states_identical(PF_ProgPtr, const PF_State*, const PF_State*,
                                       A_Boolean*);
    static PF_Err prerender_checkout(PF_ProgPtr, PF_ParamIndex, A_long, const PF_RenderRequest*,
                                     A_long, A_long, A_u_long, PF_CheckoutResult*);
    static PF_Err checkout_pixels(PF_ProgPtr, A_long, PF_EffectWorld**);
    static PF_Err checkin_pixels(PF_ProgPtr, A_long);
    static PF_Err checkout_output(PF_ProgPtr, PF_EffectWorld**);
    bool checkout_rendered_layer(A_long checkout_id, PF_EffectWorld** pixels);
    PF_EffectWorld* make_world(const host_image* image, int width, int height);
    void install_suites();

    static SPErr acquire_suite(const char* name, A_long version, const void** suite);
    static SPErr release_suite(const char* name, A_long version);
    static PF_Err checkout_param(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long,
                                 PF_ParamDef*);
    static PF_Err checkin_param(PF_ProgPtr, PF_ParamDef*);
    static PF_Err add_param(PF_ProgPtr, PF_ParamIndex, PF_ParamDef*);
    static PF_Err register_ui(PF_ProgPtr, PF_CustomUIInfo*);
    static A_char* ansi_strcpy(A_char*, const A_char*);
    static PF_Handle cb_new_handle(A_HandleSize);
    static void* cb_lock_handle(PF_Handle);
    static void cb_unlock_handle(PF_Handle);
    static void cb_dispose_handle(PF_Handle);
    static A_HandleSize cb_handle_size(PF_Handle);
    static PF_Err get_platform_data(PF_ProgPtr, A_long, void*);

    static A_Err register_with_aegp(AEGP_GlobalRefcon, const A_char*, AEGP_PluginID*);
    static PF_Err is_render_engine(PF_Boolean*);
    static A_Err get_effect_layer(PF_ProgPtr, AEGP_LayerH*);
    static A_Err new_effect_for_effect(AEGP_PluginID, PF_ProgPtr, AEGP_EffectRefH*);
    static A_Err effect_to_comp_time(PF_ProgPtr, A_long, A_u_long, A_Time*);
    static A_Err dispose_effect(AEGP_EffectRefH);
    static A_Err new_effect_stream(AEGP_PluginID, AEGP_EffectRefH, PF_ParamIndex,
                                   AEGP_StreamRefH*);
    static A_Err dispose_stream(AEGP_StreamRefH);
    static A_Err new_stream_value(AEGP_PluginID, AEGP_StreamRefH, AEGP_LTimeMode, const A_Time*,
                                  A_Boolean, AEGP_StreamValue2*);
    static A_Err dispose_stream_value(AEGP_StreamValue2*);
    static A_Err set_dynamic_stream_flag(AEGP_StreamRefH, AEGP_DynStreamFlags, A_Boolean,
                                         A_Boolean);
    static SPErr release_drawing_object(DRAWBOT_ObjectRef);

    PF_EffectMainFunc entry;
    PF_ProgressInfo effect_ref{1};
    SPBasicSuite basic{};
    PF_UtilCallbacks utils{};
    PF_InData in_data{};
    PF_OutData out_data{};

    AEGP_UtilitySuite10 utility_suite{};
    PF_AppSuite6 app_suite{};
    AEGP_PFInterfaceSuite1 pf_interface_suite{};
    AEGP_StreamSuite7 stream_suite{};
    AEGP_DynamicStreamSuite2 dynamic_stream_suite{};
    AEGP_EffectSuite2 effect_suite{};
    DRAWBOT_SupplierSuite1 supplier_suite{};
    AEGP_LayerSuite11 layer_suite{};
    AEGP_CompSuite11 comp_suite{};
    AEGP_ItemSuite10 item_suite{};
    AEGP_CameraSuite2 camera_suite{};
    AEGP_LightSuite2 light_suite{};
    PF_ParamUtilsSuite3 param_utils_suite{};
    std::map<std::pair<std::string, A_long>, suite_entry> suites;
    suite_count no_such_suite;
    int bad_releases = 0;

    std::map<PF_Handle, std::unique_ptr<handle_record>> handles;
    int bad_handle_uses = 0;

    std::vector<recorded_param> recorded;
    std::vector<std::unique_ptr<PF_ParamDef>> values; // index 0: the input layer
    std::vector<PF_ParamDef*> value_pointers;
    A_long counted_params = 0;
    int registered_ui = 0;
    A_long registered_events = 0;
    std::string aegp_name;
    int aegp_registrations = 0;

    int checkouts = 0;
    int bad_checkins = 0;
    int effects = 0;
    std::set<AEGP_StreamRefH> open_streams;
    std::multiset<AEGP_StreamRefH> open_values;  // by the stream each value came from
    int bad_stream_uses = 0;
    int drawing_releases = 0;
    int hide_calls = 0;
    std::map<PF_ParamIndex, bool> hidden_by_index;
    std::map<A_long, AEGP_LayerIDVal> layer_ids;
    std::vector<std::unique_ptr<stream_record>> stream_records;
    int effect_records = 0;

    // One frame's buffers, alive until the next frame.
    struct world_storage {
        PF_EffectWorld world{};
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::unique_ptr<world_storage>> frame_worlds;
    PF_EffectWorld* output_world = nullptr;
    A_short frame_bit_depth = 8;
    std::map<A_long, int> pixel_checkouts;
    std::map<A_long, int> pixel_checkins;
    int state_query_count = 0;
};

} // namespace qvhost
