#include "plugin/renderer/shader_log.h"

#include <windows.h>

#include <atomic>

namespace qvsdk {
namespace {

void message_box(const std::string& log)
{
    MessageBoxA(nullptr, log.c_str(), "Shader Log", MB_OK);
}

std::atomic<shader_log_handler> handler{message_box};

} // namespace

void show_shader_log(const std::string& log)
{
    handler.load()(log);
}

void set_shader_log_handler(shader_log_handler replacement)
{
    handler.store(replacement ? replacement : message_box);
}

} // namespace qvsdk
