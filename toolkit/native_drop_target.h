#pragma once

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace qvsdk::ui {

class native_window;

// Drop kinds in the extra value of event 54.
enum drop_kind : unsigned { drop_files = 0, drag_over = 1, drag_left = 2 };

// The OLE drop target of a toolkit window: files dragged from the shell become event 54.
class native_drop_target : public IDropTarget {
public:
    native_drop_target() = default;
    native_drop_target(const native_drop_target&) = delete;
    native_drop_target& operator=(const native_drop_target&) = delete;
    virtual ~native_drop_target() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

    void attach(native_window* record, HWND handle);
    HWND handle() const { return hwnd; }
    LONG reference_count() const { return references; }

private:
    native_window* record = nullptr;
    HWND hwnd = nullptr;
    LONG references = 1;
};

// The files of a drop, folders and unreadable paths left out, with "\" separators.
std::vector<std::wstring> dropped_files(HDROP drop);
// Every "/" as "\".
std::wstring with_backslashes(std::wstring path);

} // namespace qvsdk::ui
