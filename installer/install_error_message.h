#pragma once

#include <cstdint>
#include <string>

// What the failure notice says about a status code.
std::string install_error_message(std::int32_t code);

// The failure notice's whole text for a target's version label and code.
std::string install_failure_message(const std::string& version_label, std::int32_t code);
