#pragma once
// Texts are UTF-8 inside the program and UTF-16 at the Windows API (the wide functions, which
// carry every character; the narrow ones lose whatever the ANSI code page lacks).

#include <string>
#include <string_view>

namespace qinglan::platform {

// Ill-formed input becomes U+FFFD, as the system's converter does.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

// Windows' own lower case of a text (the file system's rules, not the C locale's).
std::wstring lowerCase(std::wstring text);

} // namespace qinglan::platform
