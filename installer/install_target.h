#pragma once

#include <cstdint>
#include <string>

// One place the module can be installed to.
struct InstallTarget {
    std::int32_t version;       // catalogue slot; 11 = Custom, 12 and up = found beyond the catalogue
    std::wstring plugin_folder; // empty for Custom until the user chooses one
    bool selected;
    std::int32_t status;        // last polled status code
};

constexpr std::int32_t custom_slot = 11;
