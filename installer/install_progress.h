#pragma once

#include "installer/install_target.h"

#include <cstdint>
#include <string>
#include <vector>

// Fixed notation with one digit after the point.
std::string float_to_text(float value);

// A target that will actually be written: selected, and not a Custom target
// without a folder.
bool is_writable_target(const InstallTarget& target);
// Megabytes still to write: writable targets not yet installed, each
// module_mb (the size of the module written).
float pending_megabytes(const std::vector<InstallTarget>& targets, float module_mb);
// Megabytes of every writable target.
float selected_megabytes(const std::vector<InstallTarget>& targets, float module_mb);
std::int32_t installed_count(const std::vector<InstallTarget>& targets);

// installed / selected, 1 once finished; 0 when nothing was selected.
float progress_fraction(std::int32_t installed, std::int32_t selected, bool finished);

// The progress line in the label's HTML subset.
std::string progress_html(float fraction, float done_mb, float total_mb);
// The free-space line of the versions page; empty when nothing is to be written.
std::string free_space_text(float megabytes);
