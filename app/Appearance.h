// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pardolin {

// Names the program to the toolkit and gives every window its icon and font. Call once,
// after the application object exists.
void SetUpApplication();

} // namespace pardolin
