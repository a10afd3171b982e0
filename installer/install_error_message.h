#pragma once

#include <cstdint>
#include <string>

// What the failure notice says about a status code.
std::string install_error_message(std::int32_t code);
