#pragma once

#include <cstddef>
#include <exception>
#include <string>

// The toolkit's set-up failure: a short lower-case message, thrown by value and
// caught as std::exception at the deliverables' boundaries.
class qv_exception : public std::exception {
public:
    qv_exception(const char* text, std::size_t length);
    template <std::size_t N>
    explicit qv_exception(const char (&text)[N]) : qv_exception(text, N - 1)
    {
    }
    qv_exception(const qv_exception& other);
    qv_exception& operator=(const qv_exception& other);
    ~qv_exception() override;

    const char* what() const noexcept override;

private:
    std::string message;
};
