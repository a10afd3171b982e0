#include "tools/qvhost/effect_module.h"

#include <stdexcept>

namespace qvhost {

namespace {

template <class Function> Function lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

effect_module::effect_module(const std::string& path)
{
    module = LoadLibraryA(windows_path(path).c_str());
    if (!module)
        throw std::runtime_error("cannot load the effect module " + path);
    main_named = lookup<PF_EffectMainFunc>(module, "PluginMain");
    version_named = lookup<get_plugin_version_func>(module, "GetPluginVersion");
    main_ordinal = lookup<PF_EffectMainFunc>(module, MAKEINTRESOURCEA(2));
    version_ordinal = lookup<get_plugin_version_func>(module, MAKEINTRESOURCEA(1));
}

effect_module::~effect_module()
{
    if (module)
        FreeLibrary(module);
    module = nullptr;
}

std::string windows_path(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:";
    for (char c : path)
        result += c == '/' ? '\\' : c;
    return result;
}

} // namespace qvhost
