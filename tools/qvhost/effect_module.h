#pragma once

#include "hostsdk/pf_effect.h"

#include <windows.h>

#include <string>

namespace qvhost {

typedef A_long* (*get_plugin_version_func)(A_long* out);

// The effect module as the host loads it: the library and its two exports, looked
// up by name and by ordinal.
class effect_module {
public:
    explicit effect_module(const std::string& path);
    ~effect_module();
    effect_module(const effect_module&) = delete;
    effect_module& operator=(const effect_module&) = delete;

    HMODULE handle() const { return module; }
    PF_EffectMainFunc main_by_name() const { return main_named; }
    PF_EffectMainFunc main_by_ordinal() const { return main_ordinal; }
    get_plugin_version_func version_by_name() const { return version_named; }
    get_plugin_version_func version_by_ordinal() const { return version_ordinal; }

private:
    HMODULE module = nullptr;
    PF_EffectMainFunc main_named = nullptr;
    PF_EffectMainFunc main_ordinal = nullptr;
    get_plugin_version_func version_named = nullptr;
    get_plugin_version_func version_ordinal = nullptr;
};

// A Unix path as Wine sees it (through drive Z:); other paths are returned unchanged.
std::string windows_path(const std::string& path);

} // namespace qvhost
