#include "toolkit/native_drop_target.h"

#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/native_window.h"
#include "toolkit/window.h"

#include <shellapi.h>

#include <algorithm>

namespace qvsdk::ui {

std::wstring with_backslashes(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::vector<std::wstring> dropped_files(HDROP drop)
{
    std::vector<std::wstring> files;
    const UINT count = DragQueryFileW(drop, 0xffffffffu, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        // Folders, and paths whose attributes cannot be read, are left out.
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        files.push_back(with_backslashes(std::move(path)));
    }
    return files;
}

void native_drop_target::attach(native_window* r, HWND handle)
{
    record = r;
    hwnd = handle;
}

HRESULT STDMETHODCALLTYPE native_drop_target::QueryInterface(REFIID iid, void** out)
{
    if (!out || !(IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)))
        return E_FAIL;
    AddRef();
    *out = static_cast<IDropTarget*>(this);
    return S_OK;
}

ULONG STDMETHODCALLTYPE native_drop_target::AddRef()
{
    return ULONG(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE native_drop_target::Release()
{
    // The window's own reference keeps the count above zero while it lives.
    return ULONG(InterlockedDecrement(&references));
}

HRESULT STDMETHODCALLTYPE native_drop_target::DragEnter(IDataObject*, DWORD, POINTL, DWORD*)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE native_drop_target::DragLeave()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE native_drop_target::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (!record || !record->owner)
        return S_OK;
    window& w = *record->owner;
    widget* under = w.hit_test(cursor_position(&w.root()));
    const auto& events = event_manager::instance();
    const bool accepted = (under && under->is_usable() && events.has_handler(under, files_event))
                          || events.has_handler(&w, files_event);
    if (effect)
        *effect = accepted ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    w.route_input(files_event, nullptr, accepted ? drag_over : drag_left);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE native_drop_target::Drop(IDataObject* data, DWORD, POINTL, DWORD*)
{
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (!data || FAILED(data->GetData(&format, &medium)))
        return E_FAIL;
    std::vector<std::wstring> files = dropped_files(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    if (record && record->owner)
        record->owner->route_input(files_event, &files, drop_files);
    return S_OK;
}

} // namespace qvsdk::ui
