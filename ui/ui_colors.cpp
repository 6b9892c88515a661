// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_colors.h"

#include <QApplication>
#include <QFontDatabase>
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

namespace {

// The window's families that this desktop has, in the window's order; all of them when it has
// none, so the toolkit's own substitution still decides. The first family is looked up before
// the others, and one the desktop lacks costs a fontconfig fallback search for every script
// the window's texts use, twice (for the family asked and the one found): about half a
// millisecond of the start-up on a desktop without the Windows faces. A family the database
// lists is the face the toolkit would have reached, so the window's pixels stay the same.
QStringList InstalledGothicFamilies() {
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    QStringList all;
    for (const char* family : springcalc::layout::kFontFamilies) {
        const QString name = QString::fromUtf8(family);
        all << name;
        if (installed.contains(name)) {
            families << name;
        }
    }
    return families.isEmpty() ? all : families;
}

}  // namespace

QFont GothicFont(int pixels) {
    // The font database is the application's, so the list is worked out once it exists.
    static const QStringList families = InstalledGothicFamilies();
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    return font;
}
