#pragma once

#include <cstddef>
#include <string_view>

namespace qvsdk {

// Bytes that the build placed in the binary's read-only data. A zero byte follows
// the last one, so text files can be used as C strings.
struct embedded_file {
    const unsigned char* data;
    std::size_t size;

    const char* c_str() const { return reinterpret_cast<const char*>(data); }
    std::string_view text() const { return {c_str(), size}; }
};

} // namespace qvsdk
