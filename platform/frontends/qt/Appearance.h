// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pardolin {

// Tells the libraries what the toolkit must not do of itself, before the application object
// exists: start a session bus where none runs (that writes under the home folder), or
// register GTK's accessibility bridge beside Qt's own (GTK's platform theme would, as a
// second, empty application).
void PrepareTheToolkit();

// Names the program to the toolkit, gives every window its icon and font, and puts the
// toolkit's own texts into Chinese. Call once, after the application object exists.
void SetUpApplication();

} // namespace pardolin
