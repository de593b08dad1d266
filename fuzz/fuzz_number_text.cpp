// SPDX-License-Identifier: GPL-2.0-or-later
// Number texts come from every box the user types into and from the stored settings.
#include "FuzzText.h"
#include "common/NumberText.h"

#include <cmath>
#include <cstdlib>

using namespace pulsivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::textFrom(data, size);
    const auto value = numericValue(text);
    if (isNumeric(text) != value.has_value())
        std::abort();
    if (value && !std::isfinite(*value))
        std::abort();

    const auto wide = toInt32(text);
    const auto narrow = toInt16(text);
    // A text that fits 16 bits fits 32 bits with the same value, and both round the same way.
    if (narrow && (!wide || *wide != *narrow))
        std::abort();
    if (wide && (!value || double(*wide) != roundHalfEven(*value)))
        std::abort();
    if (value) {
        roundToInt16(*value);
        roundToInt32(*value);
        roundToInt32(-*value);
    }
    return 0;
}
