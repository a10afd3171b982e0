#pragma once

#include "hostsdk/pf_effect.h"

#include <exception>

// Tells the user that a command failed: the exception's message, or the
// unrecoverable-error text when there is no standard exception. Never throws.
void show_error_popup(const std::exception* error, PF_InData* in_data) noexcept;
