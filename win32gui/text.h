// Conversion between the core's UTF-8 strings and the UTF-16 strings of the Win32 API.
#pragma once

#include <string>

namespace win32gui {

std::wstring Wide(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace win32gui
