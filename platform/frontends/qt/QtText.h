// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <QString>

namespace pardolin {

inline QString ToQString(const Text& text) {
    return QString::fromStdU32String(text);
}

} // namespace pardolin
