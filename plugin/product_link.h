#pragma once

#include <string>

// The product's page on the maker's site, with the caller's text after "?v=".
std::string product_page_url(const std::string& text);

// Opens an address (UTF-8) in the system's browser through the shell.
void open_in_shell(const std::string& address);

// Tests see the address instead of starting a browser; null restores the shell.
using shell_opener = void (*)(const std::string& address);
void set_shell_opener(shell_opener opener);

// The four version numbers joined by ".", as the page expects them.
std::string product_version_text();
