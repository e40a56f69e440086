// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form2.h"

namespace pardolin {

void Form2::Command1_Click() {
    m_display.ShowForm(FormId::Form1);
}

void Form2::Command2_Click() {
    m_display.ShowForm(FormId::Form12);
}

} // namespace pardolin
