// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace pardolin {

// What a window tells assistive tools without moving the focus. Only they see it: each
// announcement becomes its name and is shown to them as a notification, which a screen
// reader speaks at once, wherever the focus is.
class QtAnnouncement : public QWidget {
    Q_OBJECT
  public:
    explicit QtAnnouncement(QWidget* parent);

    void Announce(const QString& text);
};

} // namespace pardolin
