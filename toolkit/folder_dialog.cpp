#include "toolkit/folder_dialog.h"

#include "toolkit/com_ptr.h"
#include "toolkit/qv_exception.h"
#include "toolkit/text_encoding.h"
#include "toolkit/window.h"

#include <shobjidl.h>

#include <algorithm>
#include <memory>

namespace qvsdk::ui {

namespace {

struct co_task_text {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

} // namespace

std::wstring folder_dialog(window* owner, std::string_view title, const std::wstring& start_folder)
{
    com_ptr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(dialog.put()))))
        throw qv_exception("unable to create the folder \"select\" dialog box");

    FILEOPENDIALOGOPTIONS options = 0;
    const HRESULT got = dialog->GetOptions(&options);
    const HRESULT set = dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    const HRESULT titled = dialog->SetTitle(qvsdk::utf8_to_wide(title).c_str());
    if (FAILED(got) || FAILED(set) || FAILED(titled))
        throw qv_exception("unable to setup the folder \"select\" dialog box");

    if (!start_folder.empty()) {
        com_ptr<IShellItem> folder;
        // A start folder that does not exist leaves the shell's default.
        if (SUCCEEDED(SHCreateItemFromParsingName(start_folder.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(folder.put()))))
            dialog->SetFolder(folder.get());
    }

    const HRESULT shown = dialog->Show(owner ? owner->handle() : nullptr);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return {};
    if (FAILED(shown))
        throw qv_exception("unable to display the folder \"select\" dialog box");

    com_ptr<IShellItem> result;
    if (FAILED(dialog->GetResult(result.put())))
        throw qv_exception("unable to retrieve the selection from the folder \"select\" dialog box");
    wchar_t* raw = nullptr;
    if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &raw)) || !raw)
        throw qv_exception("unable to retrieve a result from the folder \"select\" dialog box");
    const std::unique_ptr<wchar_t, co_task_text> path(raw);
    std::wstring copy(path.get());
    std::replace(copy.begin(), copy.end(), L'/', L'\\');
    return copy;
}

} // namespace qvsdk::ui
