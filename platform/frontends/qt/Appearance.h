// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace pardolin {

// What the toolkit waits on at start-up without a deadline of its own, asked beforehand
// with one: the session bus the toolkit is to be given (an address in place of the one it
// was given, when it must not use that), and whether the Wayland compositor answers.
struct StartUpPeers {
    struct Bus {
        std::optional<std::string> address;
        bool silent = false; // a bus was named and did not answer
    };
    std::function<Bus()> sessionBus;
    std::function<bool()> compositorAnswers;
};

// Tells the libraries what the toolkit must not do of itself, before the application object
// exists: start a session bus where none runs (that writes under the home folder); wait for
// ever on a bus or a compositor that does not answer (the program goes on without the bus,
// and without accessibility then; on the X display instead of that compositor), or on an
// input method (the windows have no text to type into, so they use none); or register
// GTK's accessibility bridge beside Qt's own (GTK's platform theme would, as a second,
// empty application). false when no display is left to show the windows on: it has said
// why on stderr.
bool PrepareTheToolkit(const StartUpPeers& peers);

// Names the program to the toolkit, gives every window its icon and font, and puts the
// toolkit's own texts into Chinese. Call once, after the application object exists.
void SetUpApplication();

} // namespace pardolin
