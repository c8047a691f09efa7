// qxUnits: display labels of the family's physical units, translated
// through the wordbooks (CtrString).
//
// Unit codes come in blocks by quantity (1010 metre, 1110 square metre,
// 3020 degree Celsius, 9210 metre per second, ...). Each label is looked up
// under a key "@Einheit <name>@<label>", so that labels that look alike
// ("m" for metre, " m" for minute) translate separately. The time labels
// start with a space (" h").
#pragma once

#include "qx/platform/base/export.h"

namespace qxUnits {

using enUnit = int;

// The label of *unit* in the current wordbook language: the translation of
// its key, a fixed text for 1070 ("-"), 1170 ("in²") and 1370 ("in³"), and
// "" for codes that name no unit. Points to process-wide text.
QX_API const wchar_t* getUnitLabel(enUnit unit);

}  // namespace qxUnits
