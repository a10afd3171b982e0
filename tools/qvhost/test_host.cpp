#include "tools/qvhost/test_host.h"

#include <cstring>
#include <stdexcept>

namespace qvhost {

namespace {

test_host* active = nullptr;

struct effect_record {
    int unused;
};
effect_record the_effect{};

} // namespace

test_host& test_host::current()
{
    if (!active)
        throw std::logic_error("no test host is active");
    return *active;
}

test_host::test_host(PF_EffectMainFunc entry) : entry(entry)
{
    if (active)
        throw std::logic_error("one test host at a time");
    active = this;

    basic.AcquireSuite = acquire_suite;
    basic.ReleaseSuite = release_suite;
    utils.host_new_handle = cb_new_handle;
    utils.host_lock_handle = cb_lock_handle;
    utils.host_unlock_handle = cb_unlock_handle;
    utils.host_dispose_handle = cb_dispose_handle;
    utils.host_get_handle_size = cb_handle_size;
    utils.get_platform_data = get_platform_data;
    utils.ansi.strcpy = ansi_strcpy;

    in_data.inter.checkout_param = checkout_param;
    in_data.inter.checkin_param = checkin_param;
    in_data.inter.add_param = add_param;
    in_data.inter.register_ui = register_ui;
    in_data.utils = &utils;
    in_data.effect_ref = &effect_ref;
    in_data.pica_basicP = &basic;
    in_data.time_scale = 30;
    in_data.time_step = 1;
    in_data.local_time_step = 1;
    in_data.total_time = 300;
    in_data.width = 1920;
    in_data.height = 1080;
    in_data.downsample_x = in_data.downsample_y = PF_RationalScale{1, 1};
    in_data.pixel_aspect_ratio = PF_RationalScale{1, 1};

    values.push_back(std::make_unique<PF_ParamDef>()); // the input layer
    values[0]->param_type = PF_Param_LAYER;
    install_suites();
    install_comp_suites();
}

test_host::~test_host()
{
    active = nullptr;
}

void test_host::install_suites()
{
    utility_suite.AEGP_RegisterWithAEGP = register_with_aegp;
    app_suite.PF_IsRenderEngine = is_render_engine;
    pf_interface_suite.AEGP_GetEffectLayer = get_effect_layer;
    pf_interface_suite.AEGP_GetNewEffectForEffect = new_effect_for_effect;
    pf_interface_suite.AEGP_ConvertEffectToCompTime = effect_to_comp_time;
    stream_suite.AEGP_GetNewEffectStreamByIndex = new_effect_stream;
    stream_suite.AEGP_DisposeStream = dispose_stream;
    stream_suite.AEGP_GetNewStreamValue = new_stream_value;
    stream_suite.AEGP_DisposeStreamValue = dispose_stream_value;
    dynamic_stream_suite.AEGP_SetDynamicStreamFlag = set_dynamic_stream_flag;
    effect_suite.AEGP_DisposeEffect = dispose_effect;
    supplier_suite.ReleaseObject = release_drawing_object;

    suites[{kAEGPUtilitySuite, kAEGPUtilitySuiteVersion10}].table = &utility_suite;
    suites[{kPFAppSuite, kPFAppSuiteVersion6}].table = &app_suite;
    suites[{kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1}].table = &pf_interface_suite;
    suites[{kAEGPStreamSuite, kAEGPStreamSuiteVersion7}].table = &stream_suite;
    suites[{kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2}].table =
        &dynamic_stream_suite;
    suites[{kAEGPEffectSuite, kAEGPEffectSuiteVersion2}].table = &effect_suite;
    suites[{kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1}].table = &supplier_suite;
}

void test_host::enter(const char* call)
{
    if (fault)
        fault(call);
}

PF_Err test_host::send(PF_Cmd command, void* extra, instance* on)
{
    std::memset(&out_data, 0, sizeof out_data);
    out_data.global_data = in_data.global_data;
    in_data.sequence_data = on ? on->sequence_data : nullptr;
    out_data.sequence_data = in_data.sequence_data;
    value_pointers.clear();
    for (auto& value : values)
        value_pointers.push_back(value.get());

    PF_Err err = entry(command, &in_data, &out_data, value_pointers.data(), nullptr, extra);

    // The host keeps what the effect leaves in the out-data.
    in_data.global_data = out_data.global_data;
    if (on)
        on->sequence_data = out_data.sequence_data;
    return err;
}

PF_Err test_host::params_setup()
{
    recorded.clear();
    values.resize(1);
    PF_Err err = send(PF_Cmd_PARAMS_SETUP);
    counted_params = out_data.num_params;
    // A 3D point's default is a percentage of the layer's size; its value is pixels.
    for (std::size_t i = 1; i < values.size(); ++i) {
        PF_ParamDef& value = *values[i];
        if (value.param_type != PF_Param_POINT_3D)
            continue;
        value.u.point3d_d.x_value = value.u.point3d_d.x_dephault * comp.width / 100.0;
        value.u.point3d_d.y_value = value.u.point3d_d.y_dephault * comp.height / 100.0;
    }
    return err;
}

const recorded_param* test_host::param_by_id(A_long disk_id) const
{
    for (const recorded_param& param : recorded)
        if (param.def.uu.id == disk_id)
            return &param;
    return nullptr;
}

bool test_host::hidden(A_long disk_id) const
{
    const recorded_param* param = param_by_id(disk_id);
    if (!param)
        throw std::invalid_argument("no parameter with disk id " + std::to_string(disk_id));
    auto found = hidden_by_index.find(param->index);
    return found != hidden_by_index.end() && found->second;
}

PF_ParamDef& test_host::value_by_id(A_long disk_id)
{
    const recorded_param* param = param_by_id(disk_id);
    if (!param)
        throw std::invalid_argument("no parameter with disk id " + std::to_string(disk_id));
    return *values.at(static_cast<std::size_t>(param->index));
}

// Handles.

test_host::handle_record::~handle_record()
{
    if (pages)
        VirtualFree(pages, 0, MEM_RELEASE);
}

PF_Handle test_host::new_handle(A_HandleSize size)
{
    auto record = std::make_unique<handle_record>();
    record->size = size;
    // The block ends where the guard page starts; committed pages come zeroed.
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    const std::size_t bytes = static_cast<std::size_t>(size);
    const std::size_t usable = (bytes + page - 1) / page * page;
    record->pages = VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!record->pages)
        return nullptr;
    auto* guard = static_cast<unsigned char*>(record->pages) + usable;
    DWORD old_protection = 0;
    VirtualProtect(guard, page, PAGE_NOACCESS, &old_protection);
    // The handle is a pointer to the block pointer; the block lives in the record.
    auto* block = new void*(guard - bytes);
    PF_Handle handle = block;
    handles.emplace(handle, std::move(record));
    return handle;
}

void* test_host::lock(PF_Handle handle)
{
    auto found = handles.find(handle);
    if (found == handles.end()) {
        ++bad_handle_uses;
        return nullptr;
    }
    found->second->locks += 1;
    return *handle;
}

void test_host::unlock(PF_Handle handle)
{
    auto found = handles.find(handle);
    if (found == handles.end() || found->second->locks == 0) {
        ++bad_handle_uses;
        return;
    }
    found->second->locks -= 1;
}

void test_host::dispose(PF_Handle handle)
{
    auto found = handles.find(handle);
    if (found == handles.end()) {
        ++bad_handle_uses;
        return;
    }
    handles.erase(found);
    delete handle;
}

A_HandleSize test_host::handle_size(PF_Handle handle) const
{
    auto found = handles.find(handle);
    return found == handles.end() ? 0 : found->second->size;
}

int test_host::locked_handles() const
{
    int locked = 0;
    for (const auto& entry : handles)
        locked += entry.second->locks > 0 ? 1 : 0;
    return locked;
}

// Suites.

const suite_count& test_host::suite(const std::string& name, A_long version) const
{
    auto found = suites.find({name, version});
    return found == suites.end() ? no_such_suite : found->second.count;
}

int test_host::outstanding_suites() const
{
    int outstanding = 0;
    for (const auto& entry : suites)
        outstanding += entry.second.count.acquired - entry.second.count.released;
    return outstanding;
}

int test_host::total_acquisitions() const
{
    int total = 0;
    for (const auto& entry : suites)
        total += entry.second.count.acquired;
    return total;
}

void test_host::refuse_suite(const std::string& name, A_long version, bool refuse)
{
    suites[{name, version}].refused = refuse;
}

const void* test_host::provide_suite(const std::string& name, A_long version, const void* table)
{
    suite_entry& entry = suites[{name, version}];
    const void* previous = entry.table;
    entry.table = table;
    return previous;
}

SPErr test_host::acquire_suite(const char* name, A_long version, const void** suite)
{
    test_host& host = current();
    host.enter("AcquireSuite");
    *suite = nullptr;
    auto found = host.suites.find({name, version});
    if (found == host.suites.end() || !found->second.table || found->second.refused)
        return kSPSuiteNotFoundError;
    found->second.count.acquired += 1;
    *suite = found->second.table;
    return kSPNoError;
}

SPErr test_host::release_suite(const char* name, A_long version)
{
    test_host& host = current();
    auto found = host.suites.find({name, version});
    if (found == host.suites.end() ||
        found->second.count.released >= found->second.count.acquired) {
        ++host.bad_releases;
        return kSPSuiteNotFoundError;
    }
    found->second.count.released += 1;
    return kSPNoError;
}

// Parameter callbacks.

PF_Err test_host::checkout_param(PF_ProgPtr, PF_ParamIndex index, A_long what_time, A_long,
                                 A_u_long, PF_ParamDef* param)
{
    test_host& host = current();
    host.enter("checkout_param");
    if (index < 0 || static_cast<std::size_t>(index) >= host.values.size()) {
        std::memset(param, 0, sizeof *param);
        return PF_Err_INVALID_INDEX;
    }
    auto refused = host.refused_params.find(host.values[static_cast<std::size_t>(index)]->uu.id);
    if (refused != host.refused_params.end()) {
        const PF_Err err = refused->second;
        host.refused_params.erase(refused);
        std::memset(param, 0, sizeof *param);
        return err;
    }
    *param = *host.values[static_cast<std::size_t>(index)];
    auto animated = host.animations.find(param->uu.id);
    if (animated != host.animations.end())
        animated->second(*param, what_time);
    if (param->param_type == PF_Param_POINT_3D) {
        // Points come in pixels at the current downsampling; depth goes with x.
        const double scale = static_cast<double>(host.in_data.downsample_x.num) /
                             static_cast<double>(host.in_data.downsample_x.den);
        param->u.point3d_d.x_value *= scale;
        param->u.point3d_d.y_value *= static_cast<double>(host.in_data.downsample_y.num) /
                                      static_cast<double>(host.in_data.downsample_y.den);
        param->u.point3d_d.z_value *= scale;
    }
    host.checkouts += 1;
    return PF_Err_NONE;
}

PF_Err test_host::checkin_param(PF_ProgPtr, PF_ParamDef*)
{
    test_host& host = current();
    host.enter("checkin_param");
    if (host.checkouts == 0) {
        ++host.bad_checkins;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    host.checkouts -= 1;
    return PF_Err_NONE;
}

PF_Err test_host::add_param(PF_ProgPtr, PF_ParamIndex index, PF_ParamDef* def)
{
    test_host& host = current();
    host.enter("add_param");
    if (index != -1)
        return PF_Err_INVALID_INDEX;
    recorded_param param;
    param.index = static_cast<PF_ParamIndex>(host.values.size());
    param.def = *def;
    param.name = def->name;
    if (def->param_type == PF_Param_POPUP && def->u.pd.namesptr)
        param.choices = def->u.pd.namesptr;
    if (def->param_type == PF_Param_CHECKBOX && def->u.bd.nameptr)
        param.label = def->u.bd.nameptr;
    host.recorded.push_back(param);
    host.values.push_back(std::make_unique<PF_ParamDef>(*def));
    return PF_Err_NONE;
}

PF_Err test_host::register_ui(PF_ProgPtr, PF_CustomUIInfo* info)
{
    test_host& host = current();
    host.enter("register_ui");
    host.registered_ui += 1;
    host.registered_events = info->events;
    return PF_Err_NONE;
}

A_char* test_host::ansi_strcpy(A_char* dest, const A_char* src)
{
    current().enter("strcpy");
    return std::strcpy(dest, src);
}

PF_Handle test_host::cb_new_handle(A_HandleSize size)
{
    current().enter("host_new_handle");
    return current().new_handle(size);
}

void* test_host::cb_lock_handle(PF_Handle handle)
{
    current().enter("host_lock_handle");
    return current().lock(handle);
}

void test_host::cb_unlock_handle(PF_Handle handle)
{
    current().enter("host_unlock_handle");
    current().unlock(handle);
}

void test_host::cb_dispose_handle(PF_Handle handle)
{
    current().enter("host_dispose_handle");
    current().dispose(handle);
}

A_HandleSize test_host::cb_handle_size(PF_Handle handle)
{
    current().enter("host_get_handle_size");
    return current().handle_size(handle);
}

PF_Err test_host::get_platform_data(PF_ProgPtr, A_long which, void* data)
{
    test_host& host = current();
    host.enter("get_platform_data");
    if (which != PF_PlatData_MAIN_WND)
        return PF_Err_BAD_CALLBACK_PARAM;
    *static_cast<HWND*>(data) = host.main_window;
    return PF_Err_NONE;
}

// Suite functions.

A_Err test_host::register_with_aegp(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* id)
{
    test_host& host = current();
    host.enter("AEGP_RegisterWithAEGP");
    host.aegp_name = name ? name : "";
    host.aegp_registrations += 1;
    *id = host.plugin_id;
    return PF_Err_NONE;
}

PF_Err test_host::is_render_engine(PF_Boolean* render_engine)
{
    test_host& host = current();
    host.enter("PF_IsRenderEngine");
    *render_engine = host.render_engine ? 1 : 0;
    return PF_Err_NONE;
}

A_Err test_host::get_effect_layer(PF_ProgPtr, AEGP_LayerH* layer)
{
    test_host& host = current();
    host.enter("AEGP_GetEffectLayer");
    *layer = host.comp.layers.empty() ? nullptr : host.handle_of(host.comp.effect_layer);
    return PF_Err_NONE;
}

A_Err test_host::new_effect_for_effect(AEGP_PluginID plugin, PF_ProgPtr effect_ref,
                                       AEGP_EffectRefH* effect)
{
    test_host& host = current();
    host.enter("AEGP_GetNewEffectForEffect");
    if (plugin != host.plugin_id || effect_ref != &host.effect_ref) {
        *effect = nullptr;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    host.effects += 1;
    *effect = reinterpret_cast<AEGP_EffectRefH>(&the_effect);
    return PF_Err_NONE;
}

A_Err test_host::effect_to_comp_time(PF_ProgPtr, A_long what_time, A_u_long time_scale,
                                     A_Time* comp_time)
{
    test_host& host = current();
    host.enter("AEGP_ConvertEffectToCompTime");
    *comp_time = host.comp_time_of(what_time, time_scale);
    return PF_Err_NONE;
}

A_Err test_host::dispose_effect(AEGP_EffectRefH effect)
{
    test_host& host = current();
    host.enter("AEGP_DisposeEffect");
    if (effect != reinterpret_cast<AEGP_EffectRefH>(&the_effect) || host.effects == 0)
        return PF_Err_BAD_CALLBACK_PARAM;
    host.effects -= 1;
    return PF_Err_NONE;
}

A_Err test_host::new_effect_stream(AEGP_PluginID, AEGP_EffectRefH effect, PF_ParamIndex index,
                                   AEGP_StreamRefH* stream)
{
    test_host& host = current();
    host.enter("AEGP_GetNewEffectStreamByIndex");
    *stream = nullptr;
    if (effect != reinterpret_cast<AEGP_EffectRefH>(&the_effect) || index <= 0 ||
        static_cast<std::size_t>(index) >= host.values.size())
        return PF_Err_INVALID_INDEX;
    host.stream_records.push_back(std::make_unique<stream_record>(stream_record{index}));
    *stream = reinterpret_cast<AEGP_StreamRefH>(host.stream_records.back().get());
    host.open_streams.insert(*stream);
    return PF_Err_NONE;
}

A_Err test_host::dispose_stream(AEGP_StreamRefH stream)
{
    test_host& host = current();
    host.enter("AEGP_DisposeStream");
    if (host.open_streams.erase(stream) == 0) {
        ++host.bad_stream_uses;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return PF_Err_NONE;
}

A_Err test_host::new_stream_value(AEGP_PluginID, AEGP_StreamRefH stream, AEGP_LTimeMode,
                                  const A_Time*, A_Boolean, AEGP_StreamValue2* value)
{
    test_host& host = current();
    host.enter("AEGP_GetNewStreamValue");
    std::memset(value, 0, sizeof *value);
    if (!host.open_streams.count(stream))
        return PF_Err_BAD_CALLBACK_PARAM;
    PF_ParamIndex index = reinterpret_cast<stream_record*>(stream)->index;
    A_long disk_id = host.values[static_cast<std::size_t>(index)]->uu.id;
    auto chosen = host.layer_ids.find(disk_id);
    value->streamH = stream;
    value->val.layer_id = chosen == host.layer_ids.end() ? 0 : chosen->second;
    host.open_values.insert(stream);
    return PF_Err_NONE;
}

A_Err test_host::dispose_stream_value(AEGP_StreamValue2* value)
{
    test_host& host = current();
    host.enter("AEGP_DisposeStreamValue");
    auto found = value ? host.open_values.find(value->streamH) : host.open_values.end();
    if (found == host.open_values.end()) {
        ++host.bad_stream_uses;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    host.open_values.erase(found);
    return PF_Err_NONE;
}

A_Err test_host::set_dynamic_stream_flag(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag,
                                         A_Boolean, A_Boolean set)
{
    test_host& host = current();
    host.enter("AEGP_SetDynamicStreamFlag");
    if (!stream)
        return PF_Err_BAD_CALLBACK_PARAM;
    if (flag == AEGP_DynStreamFlag_HIDDEN) {
        host.hidden_by_index[reinterpret_cast<stream_record*>(stream)->index] = set != 0;
        host.hide_calls += 1;
    }
    return PF_Err_NONE;
}

SPErr test_host::release_drawing_object(DRAWBOT_ObjectRef)
{
    test_host& host = current();
    host.enter("ReleaseObject");
    host.drawing_releases += 1;
    return kSPNoError;
}

} // namespace qvhost
