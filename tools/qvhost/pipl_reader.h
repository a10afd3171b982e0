#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvhost {

struct pipl_property {
    std::string vendor;
    std::string key;
    std::int32_t id = 0;
    std::vector<std::uint8_t> data;

    std::int32_t number() const;   // the first four bytes, little-endian
    std::string text() const;      // up to the first zero byte
};

struct pipl {
    std::int32_t version = 0;
    std::vector<pipl_property> properties;

    const pipl_property* find(const std::string& key) const;
};

// Parses a property list; nullopt when the block is malformed or cut short.
std::optional<pipl> parse_pipl(const std::uint8_t* data, std::size_t size);

// Reads the module's PiPL resource (type "PIPL", id 16000, language 1033).
std::optional<pipl> read_pipl(HMODULE module);

} // namespace qvhost
