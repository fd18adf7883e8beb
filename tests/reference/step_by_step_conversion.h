#pragma once

#include <string_view>

#include "convert/conversion.h"

namespace kelvaro {

// The conversion done one step at a time for every character, with the
// plain search of the dictionary text: what the fast converter must equal.
ConversionResult ConvertStepByStep(std::u16string_view dictionaryText, std::u16string_view source,
                                   DisplayMode mode);

}  // namespace kelvaro
