#pragma once

#include <string_view>

namespace help {

// The method notes shown in the help window, as one string: UTF-8 (the one
// character outside ASCII is the degree sign), lines separated by CR LF and
// the last line ended by CR LF as well. Some lines end in a space or are
// blank on purpose; the text is kept exactly as designed.
std::string_view helpText();

} // namespace help
