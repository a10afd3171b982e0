#pragma once

#include "toolkit/theme_entry.h"

#include <vector>

// The installer's look: its rows of theme values, in table order.
std::vector<qvsdk::ui::theme_entry> installer_theme_entries();

// Replaces the toolkit's global theme with the installer's values; called
// once, before any page is built.
void apply_installer_theme();
