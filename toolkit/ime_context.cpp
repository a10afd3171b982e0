#include "toolkit/ime_context.h"

#include "toolkit/event_ids.h"
#include "toolkit/window.h"

#include <vector>

namespace qvsdk::ui {

namespace {

bool korean(HKL layout)
{
    return (LOWORD(reinterpret_cast<std::uintptr_t>(layout)) & 0x3ff) == 0x12;
}

void route(window& w, std::uintptr_t what)
{
    w.route_input(ime_event, reinterpret_cast<void*>(what), 0);
}

} // namespace

std::int32_t converting_cursor(std::int32_t cursor, std::int32_t length, std::uint32_t key)
{
    switch (key) {
    case VK_END:
    case VK_HOME:
        return length;
    case VK_LEFT:
        return cursor > 0 ? cursor - 1 : cursor;
    case VK_RIGHT:
        return cursor < length ? cursor + 1 : cursor;
    default:
        return cursor;
    }
}

ime_context::ime_context(HWND window_handle) : hwnd(window_handle)
{
    layout = GetKeyboardLayout(0);
    is_input_method = ImmIsIME(layout) == 1;
}

void ime_context::on_input_language_changed()
{
    layout = GetKeyboardLayout(0);
    is_input_method = ImmIsIME(layout) == 1;
    if (!composing)
        return;
    if (HIMC context = ImmGetContext(hwnd)) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        ImmReleaseContext(hwnd, context);
    }
}

void ime_context::place_candidate_window()
{
    HIMC context = ImmGetContext(hwnd);
    if (!context)
        return;
    CANDIDATEFORM form{};
    form.dwIndex = 0;
    form.dwStyle = CFS_EXCLUDE;
    form.ptCurrentPos = {caret.x, caret.y};
    form.rcArea = {caret.x, caret.y, caret.x + caret.width, caret.y + caret.height};
    ImmSetCandidateWindow(context, &form);
    ImmReleaseContext(hwnd, context);
}

void ime_context::read_composition_string(HIMC context, DWORD kind)
{
    const LONG bytes = ImmGetCompositionStringW(context, kind, nullptr, 0);
    if (bytes <= 0) {
        composition.clear();
        return;
    }
    std::vector<wchar_t> buffer(std::size_t(bytes) / sizeof(wchar_t) + 1, L'\0');
    const LONG read = ImmGetCompositionStringW(context, kind, buffer.data(), DWORD(bytes));
    if (read <= 0)
        composition.clear();
    else
        composition.assign(buffer.data(), std::size_t(read) / sizeof(wchar_t));
}

bool ime_context::update_composition(LPARAM lparam, DWORD kind)
{
    if (!(DWORD(lparam) & kind) && kind != GCS_RESULTSTR)
        return false;
    HIMC context = ImmGetContext(hwnd);
    if (!context)
        return false;
    read_composition_string(context, kind);
    const std::int32_t length = std::int32_t(composition.size());
    if (kind == GCS_COMPSTR && (DWORD(lparam) & GCS_COMPATTR)) {
        converting = false;
        const LONG count = ImmGetCompositionStringW(context, GCS_COMPATTR, nullptr, 0);
        if (count > 0) {
            std::vector<BYTE> attributes(std::size_t(count), 0);
            ImmGetCompositionStringW(context, GCS_COMPATTR, attributes.data(), DWORD(count));
            for (BYTE a : attributes)
                if (a == ATTR_TARGET_CONVERTED)
                    converting = true;
        }
    } else {
        converting = false;
        if (kind == GCS_RESULTSTR) {
            cursor_position = length;
            ImmReleaseContext(hwnd, context);
            return true;
        }
    }
    if (korean(layout))
        cursor_position = length;
    else if (converting)
        cursor_position = converting_cursor(cursor_position, length, recorded_key);
    else
        cursor_position = ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0) & 0xffff;
    ImmReleaseContext(hwnd, context);
    return true;
}

void ime_context::on_start_composition(window& w)
{
    if (composing)
        return;
    CreateCaret(hwnd, nullptr, 1, 1);
    place_candidate_window();
    composing = true;
    route(w, 0);
}

void ime_context::on_end_composition(window& w, LPARAM lparam)
{
    if (!composing)
        return;
    if (update_composition(lparam, GCS_RESULTSTR))
        route(w, 2);
    DestroyCaret();
    composing = false;
}

void ime_context::on_composition(window& w, LPARAM lparam)
{
    if (converting && cursor_position == std::int32_t(composition.size()) && recorded_char != 0
        && recorded_key != VK_BACK && recorded_key != VK_RETURN && recorded_key != VK_SPACE) {
        route(w, 2);
        route(w, 0);
    }
    converting = false;
    if (korean(layout) && (DWORD(lparam) & GCS_RESULTSTR) && recorded_char != 0)
        route(w, 0);
    if (update_composition(lparam, GCS_COMPSTR))
        route(w, 1);
}

void ime_context::record_key(HWND target)
{
    recorded_key = ImmGetVirtualKey(target);
    recorded_char = MapVirtualKeyW(recorded_key, MAPVK_VK_TO_CHAR);
}

} // namespace qvsdk::ui
