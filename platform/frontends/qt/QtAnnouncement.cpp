// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtAnnouncement.h"

#include <QAccessible>

namespace pardolin {

QtAnnouncement::QtAnnouncement(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcement"));
    hide();
}

void QtAnnouncement::Announce(const QString& text) {
    setAccessibleName(text);
    // Screen readers speak a notification when it shows; it shows to them only.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace pardolin
