// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace pardolin {

// A label that always shows its text as plain text: what it shows comes from the system
// (device names, settings) and must never be read as markup. Its text can be selected, and
// its context menu copies it ("复制": the selection, or all of it) or selects it all.
class QtTextLabel : public QLabel {
    Q_OBJECT
  public:
    explicit QtTextLabel(QWidget* parent = nullptr);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace pardolin
