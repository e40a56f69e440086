// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pardolin {

// Where no session message bus runs, tells the libraries so: otherwise the toolkit's D-Bus
// client starts one of its own, which writes under the home folder. Call before the
// application object exists.
void KeepTheToolkitFromStartingABus();

// Names the program to the toolkit, gives every window its icon and font, and puts the
// toolkit's own texts into Chinese. Call once, after the application object exists.
void SetUpApplication();

} // namespace pardolin
