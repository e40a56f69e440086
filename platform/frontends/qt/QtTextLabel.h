// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace pardolin {

// A label that always shows its text as plain text: what it shows comes from the system
// (device names, settings) and must never be read as markup. Its text can be selected and
// copied (see QtCopyCommands).
class QtTextLabel : public QLabel {
    Q_OBJECT
  public:
    // `menuName` names the label's menu for assistive tools.
    QtTextLabel(const QString& menuName, QWidget* parent);

  private:
    void Copy() const;
};

} // namespace pardolin
