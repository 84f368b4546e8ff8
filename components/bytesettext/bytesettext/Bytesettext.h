#pragma once
// Bytesettext: turns a text of comma-separated decimal character codes into the text made of
// those characters, e.g. "113,105" -> "qi". The player uses it to build its database password
// at run time, so the password never appears as one plain string in the program.
//
// Each code is a Unicode code point (1 to 0x10FFFF, no surrogates); the result is UTF-8.
// Blanks around a code are allowed. Anything else (an empty item, a sign, a letter, a code
// out of range, code 0) is refused with a message naming the offending item; the function
// never throws and never crashes on any input.

#include <string>
#include <string_view>

namespace qinglan {

struct BytesettextResult {
    std::string text;  // the decoded text when ok()
    std::string error; // empty on success, else a one-line reason
    bool ok() const { return error.empty(); }
};

BytesettextResult Bytesettext(std::string_view codes);

} // namespace qinglan
