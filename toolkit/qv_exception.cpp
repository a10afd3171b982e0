#include "toolkit/qv_exception.h"

qv_exception::qv_exception(const char* text, std::size_t length) : message(text, length)
{
}

qv_exception::qv_exception(const qv_exception& other) : std::exception(other), message(other.message)
{
}

qv_exception& qv_exception::operator=(const qv_exception& other) = default;

qv_exception::~qv_exception() = default;

const char* qv_exception::what() const noexcept
{
    return message.c_str();
}
