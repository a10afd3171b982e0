#include "installer/clipboard_text.h"

#include "toolkit/text_encoding.h"

#include <cstring>

namespace {

// Movable global memory, freed unless handed to the clipboard.
class global_memory {
public:
    explicit global_memory(SIZE_T bytes) : memory(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~global_memory()
    {
        if (memory)
            GlobalFree(memory);
        memory = nullptr;
    }
    global_memory(const global_memory&) = delete;
    global_memory& operator=(const global_memory&) = delete;
    HGLOBAL get() const { return memory; }
    void release() { memory = nullptr; }

private:
    HGLOBAL memory;
};

} // namespace

bool copy_text_to_clipboard(HWND owner, std::string_view text)
{
    const std::wstring wide = qvsdk::utf8_to_wide(text);
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    global_memory memory(bytes);
    if (!memory.get())
        return false;
    void* target = GlobalLock(memory.get());
    if (!target)
        return false;
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory.get());
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const bool handed_over = SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr;
    if (handed_over)
        memory.release();
    CloseClipboard();
    return handed_over;
}
