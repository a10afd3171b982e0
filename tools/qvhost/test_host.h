#pragma once

#include "hostsdk/aegp_suites.h"
#include "hostsdk/drawbot_suites.h"
#include "hostsdk/pf_custom_ui.h"
#include "hostsdk/pf_effect.h"
#include "hostsdk/pf_suites.h"
#include "hostsdk/sp_basic_suite.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
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

    // Handles: allocated through the callbacks, really on the heap.
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
    int bad_suite_releases() const { return bad_releases; }

    // Borrowed references that must come back within the command.
    int outstanding_checkouts() const { return checkouts; }
    int checkins_without_checkout() const { return bad_checkins; }
    int live_effect_refs() const { return effects; }
    int live_streams() const { return streams; }
    int live_stream_values() const { return stream_values; }
    int released_drawing_objects() const { return drawing_releases; }

    // Called with the callback's name at the start of every host callback; a test
    // makes it throw to fail the effect in the middle of an operation.
    std::function<void(const std::string& call)> fault;
    bool render_engine = false;
    HWND main_window = reinterpret_cast<HWND>(0x2a0);
    AEGP_PluginID plugin_id = 7;

    static test_host& current();

private:
    struct handle_record {
        std::unique_ptr<unsigned char[]> bytes;
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
    int streams = 0;
    int stream_values = 0;
    int drawing_releases = 0;
    int hide_calls = 0;
    std::map<PF_ParamIndex, bool> hidden_by_index;
    std::map<A_long, AEGP_LayerIDVal> layer_ids;
    std::vector<std::unique_ptr<stream_record>> stream_records;
    int effect_records = 0;
};

} // namespace qvhost
