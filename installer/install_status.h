#pragma once

#include <cstdint>

// Per-target results of the install worker; above installed is a failure.
enum install_status : std::int32_t {
    status_not_attempted = 0,
    status_in_progress = 1,
    status_installed = 2,
    status_resource_missing = 20,
    status_resource_not_loaded = 30,
    status_file_not_created = 40,
    status_write_failed = 50,
};

inline bool is_failure(std::int32_t status) { return status > status_installed; }
