#pragma once

#include <windows.h>

#include <stdexcept>

namespace qvsdk::ui {

// A failed COM call that the toolkit cannot report any other way, such as a
// call through an empty COM pointer (E_POINTER).
class com_error : public std::runtime_error {
public:
    explicit com_error(HRESULT hr) : std::runtime_error("com error"), result(hr) {}
    HRESULT error() const { return result; }

private:
    HRESULT result;
};

} // namespace qvsdk::ui
