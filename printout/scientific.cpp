#include "printout/scientific.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>
#include <version>

namespace printout {

std::to_chars_result writeScientific(char* first, char* last, double value, int decimals) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::scientific, decimals);
#else
    return writeScientificBySnprintf(first, last, value, decimals);
#endif
}

std::to_chars_result writeScientificBySnprintf(char* first, char* last, double value,
                                               int decimals) {
    // Room for the forms the worked form prints without reaching for the heap.
    char shortText[64];
    std::string longText;
    char* text = shortText;
    int length = std::snprintf(shortText, sizeof shortText, "%.*e", decimals, value);
    if (length < 0)
        return {last, std::errc::value_too_large};
    if (static_cast<std::size_t>(length) >= sizeof shortText) {
        longText.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(longText.data(), longText.size(), "%.*e", decimals, value);
        text = longText.data();
    }
    // snprintf writes the locale's decimal mark; a desktop program runs under
    // the user's locale.
    if (const std::string mark = std::localeconv()->decimal_point; mark != ".") {
        const std::string_view written(text, static_cast<std::size_t>(length));
        if (const auto at = written.find(mark); at != std::string_view::npos) {
            text[at] = '.';
            std::copy(text + at + mark.size(), text + length, text + at + 1);
            length -= static_cast<int>(mark.size()) - 1;
        }
    }
    if (length > last - first)
        return {last, std::errc::value_too_large};
    return {std::copy(text, text + length, first), std::errc{}};
}

} // namespace printout
