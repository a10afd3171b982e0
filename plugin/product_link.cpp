#include "plugin/product_link.h"

#include "plugin/product.h"
#include "toolkit/text_encoding.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr char site_address[] = "https://www.quorvane.com";

shell_opener replacement = nullptr;

} // namespace

std::string product_page_url(const std::string& text)
{
    return std::string(site_address) + "/vesk/?v=" + text;
}

void open_in_shell(const std::string& address)
{
    if (replacement) {
        replacement(address);
        return;
    }
    const std::wstring wide = qvsdk::utf8_to_wide(address);
    ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void set_shell_opener(shell_opener opener)
{
    replacement = opener;
}

std::string product_version_text()
{
    return std::to_string(product_version_major) + "." + std::to_string(product_version_minor) + "." +
           std::to_string(product_version_patch) + "." + std::to_string(product_build);
}
