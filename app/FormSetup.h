// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <QRect>

#include <cstdint>
#include <initializer_list>
#include <utility>

class QPushButton;
class QString;
class QWidget;

namespace pardolin {

// Gives a window its caption and its fixed client area at its recorded screen position.
void SetUpForm(QWidget& form, const Text& caption, QRect clientTwips);

// Names each control as its window's code does, for tests and assistive tools.
void NameControls(std::initializer_list<std::pair<QWidget*, const char*>> controls);

// Places a control inside its container, with its area given in twips.
void Place(QWidget& control, QRect twips);

// Gives a push button its caption and place; a focused button answers Enter and Space.
void SetUpButton(QPushButton& button, const QString& caption, QRect twips);

// Fills the control's background with a colour recorded as 0x00BBGGRR.
void SetBackColour(QWidget& control, std::uint32_t bgr);

// The notice caption at the foot of a window, followed by a line break or not.
enum class NoticeEnd { LineBreak, None };
Text NoticeCaption(NoticeEnd end);

} // namespace pardolin
