// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_colors.h"

#include <QApplication>
#include <QPalette>

#include "layout/window_layout.h"

QColor ToQColor(springcalc::TColor color) {
    if (color & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (color & 0xFFu) {
            case 0x05:  // clWindow
                return palette.color(QPalette::Base);
            case 0x08:  // clWindowText
                return palette.color(QPalette::WindowText);
            case 0x0F:  // clBtnFace
            default:
                return palette.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QFont GothicFont(int pixels) {
    QFont font;
    QStringList families;
    for (const char* family : springcalc::layout::kFontFamilies) {
        families << QString::fromUtf8(family);
    }
    font.setFamilies(families);
    font.setPixelSize(pixels);
    return font;
}
