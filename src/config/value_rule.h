#pragma once
#include <string>
#include <string_view>

namespace velko {

// The value of a keyed line: the text after its first "= ", or, without "= ", the line less its
// first character. The empty line has no value: Failure 5.
std::string valueOf(std::string_view line);

}  // namespace velko
