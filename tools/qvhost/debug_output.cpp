#include "tools/qvhost/debug_output.h"

#include <windows.h>

#include <mutex>
#include <stdexcept>

namespace qvhost {

namespace {

std::mutex lines_mutex;
std::vector<std::string> collected;
bool collecting = false;

LONG CALLBACK watch(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        auto length = static_cast<std::size_t>(record->ExceptionInformation[0]);
        const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        std::lock_guard<std::mutex> lock(lines_mutex);
        // The length counts the terminating zero.
        if (text && length > 0)
            collected.emplace_back(text, length - 1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

debug_output::debug_output()
{
    std::lock_guard<std::mutex> lock(lines_mutex);
    if (collecting)
        throw std::logic_error("debug output is already being collected");
    collecting = true;
    collected.clear();
    handler = AddVectoredExceptionHandler(1, watch);
}

debug_output::~debug_output()
{
    RemoveVectoredExceptionHandler(handler);
    std::lock_guard<std::mutex> lock(lines_mutex);
    collecting = false;
}

std::vector<std::string> debug_output::lines() const
{
    std::lock_guard<std::mutex> lock(lines_mutex);
    return collected;
}

} // namespace qvhost
