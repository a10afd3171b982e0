#pragma once

#include <string>

namespace qvsdk {

// A GLSL compile log for the user: a modal "Shader Log" box in the product.
void show_shader_log(const std::string& log);

// Tests replace the box (it would block them); null restores it.
using shader_log_handler = void (*)(const std::string& log);
void set_shader_log_handler(shader_log_handler handler);

} // namespace qvsdk
