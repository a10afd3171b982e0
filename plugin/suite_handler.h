#pragma once

#include "hostsdk/aegp_suites.h"
#include "hostsdk/drawbot_suites.h"
#include "hostsdk/pf_suites.h"
#include "hostsdk/sp_basic_suite.h"

#include <array>
#include <cstddef>

// The host suites an operation may take, by name and version.
enum class host_suite : std::size_t {
    utility,
    app,
    pf_interface,
    stream,
    dynamic_stream,
    effect,
    layer,
    comp,
    item,
    camera,
    light,
    param_utils,
    effect_custom_ui,
    drawbot_draw,
    drawbot_supplier,
    drawbot_surface,
    count
};

struct host_suite_name {
    const char* name;
    A_long version;
};

const host_suite_name& suite_name(host_suite suite);

template <class Suite> struct suite_of;
template <> struct suite_of<AEGP_UtilitySuite10> { static constexpr host_suite id = host_suite::utility; };
template <> struct suite_of<PF_AppSuite6> { static constexpr host_suite id = host_suite::app; };
template <> struct suite_of<AEGP_PFInterfaceSuite1> { static constexpr host_suite id = host_suite::pf_interface; };
template <> struct suite_of<AEGP_StreamSuite7> { static constexpr host_suite id = host_suite::stream; };
template <> struct suite_of<AEGP_DynamicStreamSuite2> { static constexpr host_suite id = host_suite::dynamic_stream; };
template <> struct suite_of<AEGP_EffectSuite2> { static constexpr host_suite id = host_suite::effect; };
template <> struct suite_of<AEGP_LayerSuite11> { static constexpr host_suite id = host_suite::layer; };
template <> struct suite_of<AEGP_CompSuite11> { static constexpr host_suite id = host_suite::comp; };
template <> struct suite_of<AEGP_ItemSuite10> { static constexpr host_suite id = host_suite::item; };
template <> struct suite_of<AEGP_CameraSuite2> { static constexpr host_suite id = host_suite::camera; };
template <> struct suite_of<AEGP_LightSuite2> { static constexpr host_suite id = host_suite::light; };
template <> struct suite_of<PF_ParamUtilsSuite3> { static constexpr host_suite id = host_suite::param_utils; };
template <> struct suite_of<PF_EffectCustomUISuite1> { static constexpr host_suite id = host_suite::effect_custom_ui; };
template <> struct suite_of<DRAWBOT_DrawbotSuite1> { static constexpr host_suite id = host_suite::drawbot_draw; };
template <> struct suite_of<DRAWBOT_SupplierSuite1> { static constexpr host_suite id = host_suite::drawbot_supplier; };
template <> struct suite_of<DRAWBOT_SurfaceSuite2> { static constexpr host_suite id = host_suite::drawbot_surface; };

// One operation's suites: each is acquired on first use and all are released when
// the handler goes, also when the operation ends by an exception. A suite that the
// host refuses raises a qv_exception naming it.
class suite_handler {
public:
    explicit suite_handler(SPBasicSuite* basic);
    ~suite_handler();
    suite_handler(const suite_handler&) = delete;
    suite_handler& operator=(const suite_handler&) = delete;

    template <class Suite> const Suite& get()
    {
        return *static_cast<const Suite*>(acquire(suite_of<Suite>::id));
    }

private:
    const void* acquire(host_suite suite);

    SPBasicSuite* basic;
    std::array<const void*, static_cast<std::size_t>(host_suite::count)> suites{};
};
