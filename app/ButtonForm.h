// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"

#include <cstddef>

namespace pardolin {

// One button of a window and the handler a click on it runs.
template <typename Logic> struct ButtonHandler {
    ButtonRef button;
    void (Logic::*handler)();
};

// A window's logic whose buttons each run one handler, as its table kButtons says.
template <typename Logic> class ButtonForm : public Form {
  public:
    void Click(std::size_t control) final {
        for (const ButtonHandler<Logic>& entry : Logic::kButtons) {
            if (entry.button.index == control) {
                (static_cast<Logic&>(*this).*entry.handler)();
                return;
            }
        }
    }
};

} // namespace pardolin
