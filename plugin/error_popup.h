#pragma once

#include "hostsdk/pf_effect.h"

#include <exception>

// Tells the user that a command failed: the exception's message, or the
// unrecoverable-error text when there is no standard exception, in a modal
// window over the host's main window. When the host runs without a user
// interface the text goes to the debugger output instead. Never throws.
void show_error_popup(const std::exception* error, PF_InData* in_data) noexcept;
