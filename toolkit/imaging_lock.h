#pragma once

#include <mutex>

namespace qvsdk::ui {

// Serialises all picture decoding, unloading and bitmap creation; taken before
// an image's own mutex.
std::mutex& imaging_lock();

} // namespace qvsdk::ui
