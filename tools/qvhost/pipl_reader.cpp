#include "tools/qvhost/pipl_reader.h"

#include "hostsdk/pipl.h"

#include <cstring>

namespace qvhost {

namespace {

class reader {
public:
    reader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool take(void* out, std::size_t count)
    {
        if (size - offset < count)
            return false;
        std::memcpy(out, data + offset, count);
        offset += count;
        return true;
    }

    bool take_code(std::string& out)
    {
        char code[4];
        if (!take(code, 4))
            return false;
        out.assign(code, 4);
        return true;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset = 0;
};

} // namespace

std::int32_t pipl_property::number() const
{
    std::int32_t value = 0;
    if (data.size() >= 4)
        std::memcpy(&value, data.data(), 4);
    return value;
}

std::string pipl_property::text() const
{
    std::string result;
    for (std::uint8_t c : data) {
        if (c == 0)
            break;
        result += static_cast<char>(c);
    }
    return result;
}

const pipl_property* pipl::find(const std::string& key) const
{
    for (const pipl_property& property : properties)
        if (property.key == key)
            return &property;
    return nullptr;
}

std::optional<pipl> parse_pipl(const std::uint8_t* data, std::size_t size)
{
    reader in(data, size);
    pipl result;
    std::int32_t count = 0;
    if (!in.take(&result.version, 4) || !in.take(&count, 4) || count < 0)
        return std::nullopt;
    for (std::int32_t i = 0; i < count; ++i) {
        pipl_property property;
        std::int32_t length = 0;
        if (!in.take_code(property.vendor) || !in.take_code(property.key) ||
            !in.take(&property.id, 4) || !in.take(&length, 4) || length < 0 || length % 4 != 0)
            return std::nullopt;
        property.data.resize(static_cast<std::size_t>(length));
        if (!in.take(property.data.data(), property.data.size()))
            return std::nullopt;
        result.properties.push_back(std::move(property));
    }
    return result;
}

std::optional<pipl> read_pipl(HMODULE module)
{
    HRSRC found = FindResourceExW(module, L"PIPL", MAKEINTRESOURCEW(PiPL_RESOURCE_ID),
                                  PiPL_LANGUAGE);
    if (!found)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return parse_pipl(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found));
}

} // namespace qvhost
