#pragma once

// The words a user types for a choice, the arm shapes and the ratio, read
// alike by every front end; a problem quotes the text and names what is
// taken, and the front end puts its name for the input before it.

#include "search/arm_shapes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarnel {

template <class Value>
struct WordReading {
    std::optional<Value> value; // none when the text reads as none of the words
    std::string problem;        // "\"x\" is not one of found, best", or empty
};

// Which of words the text is, capitals and blanks aside: e96 is E96.
[[nodiscard]] WordReading<std::size_t> readWord(std::string_view text, std::span<const std::string_view> words);

// A comma list of 1, ser and par; an empty text allows no shape.
[[nodiscard]] WordReading<ArmShapes> readShapes(std::string_view text);

// The ratio counted, 1+h/l or h/l: whether H/L alone is, as SearchInput::highOverLowOnly.
[[nodiscard]] WordReading<bool> readRatio(std::string_view text);

} // namespace tarnel
