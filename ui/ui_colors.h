// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours as the window description gives them (0x00BBGGRR or a system colour) to Qt.

#include <QColor>
#include <QFont>

#include "engine/spring_view.h"

QColor ToQColor(springcalc::TColor color);

// The proportional Gothic face of the window at a pixel height.
QFont GothicFont(int pixels);
