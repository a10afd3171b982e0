#pragma once

#include <string>
#include <vector>

namespace qvhost {

// Collects what the process sends to the debugger output while it lives, by
// watching the exceptions that OutputDebugStringA raises. One at a time.
class debug_output {
public:
    debug_output();
    ~debug_output();
    debug_output(const debug_output&) = delete;
    debug_output& operator=(const debug_output&) = delete;

    std::vector<std::string> lines() const;

private:
    void* handler = nullptr;
};

} // namespace qvhost
