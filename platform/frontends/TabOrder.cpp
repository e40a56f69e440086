// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/TabOrder.h"

#include <algorithm>
#include <numeric>

namespace pardolin {

std::vector<std::size_t> ControlsInTabOrder(const FormLayout& layout) {
    std::vector<std::size_t> order(layout.controls.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&layout](std::size_t a, std::size_t b) {
        return layout.controls[a].tabIndex < layout.controls[b].tabIndex;
    });
    return order;
}

} // namespace pardolin
