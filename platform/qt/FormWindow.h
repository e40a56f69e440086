// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace pardolin {

// A top-level window built from its logic's layout: one widget for each row, placed in its
// container, in the layout's tab order. Its buttons call the logic's handlers.
class FormWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FormWindow(std::unique_ptr<Form> logic);
    ~FormWindow() override;

    Form& Logic() const { return *m_logic; }
    // The widget of the layout's row `index`.
    QWidget* Control(std::size_t index) const { return m_controls.at(index); }

  signals:
    // The frame's close control closed the window: this instance is done with.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* MakeControl(const ControlLayout& row, std::size_t index);

    std::unique_ptr<Form> m_logic;
    std::vector<QWidget*> m_controls;
};

} // namespace pardolin
