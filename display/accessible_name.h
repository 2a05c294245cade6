// What a screen reader reads of the display's text. Needs no window system.
#pragma once

#include <cstddef>

// Writes into name, of size characters, text as the display draws it: an
// ampersand only underlines the character after it and is not read, and two
// in a row are read as one. The result is always NUL-terminated.
template <typename Character>
void accessibleName(const Character* text, Character* name, size_t size) {
    if (size == 0) {
        return;
    }
    size_t length = 0;
    for (; *text != 0 && length + 1 < size; ++text) {
        // A lone '&' only underlines the character after it; "&&" draws one '&'.
        if (*text == '&' && *++text == 0) {
            break;
        }
        name[length++] = *text;
    }
    name[length] = 0;
}
