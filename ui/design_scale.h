// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window is designed at 100 pixels per inch. On a screen of another logical resolution the
// whole layout, fonts included, is scaled by (logical DPI / 100) once, when the window is made:
// this is the one place that knows the rule.

#include <QPixmap>
#include <QRect>

#include "layout/spring_drawings.h"
#include "layout/window_layout.h"

class QScreen;

class DesignScale {
public:
    static constexpr double kDesignDpi = springcalc::layout::kDesignDpi;

    explicit DesignScale(double logicalDpi) : factor_(logicalDpi / kDesignDpi) {}
    static DesignScale ForScreen(const QScreen* screen);

    // Pixels per inch of the design in a grab of the window: the design resolution in this
    // scale, times the device pixels of a logical one.
    double grabPixelsPerInch(double devicePixelRatio) const {
        return kDesignDpi * factor_ * devicePixelRatio;
    }
    int length(int designPixels) const;
    // Edges are scaled rather than sizes, so controls that touch at 100 dpi still touch.
    QRect rect(int x, int y, int width, int height) const;

    // A drawing of the window at its natural size in this scale, drawn afresh for the device
    // pixels of a screen of `devicePixelRatio`: sharp and in its three colours at every size,
    // never an enlarged or shrunk bitmap.
    QPixmap drawing(springcalc::SpringDrawing drawing, qreal devicePixelRatio) const;

private:
    double factor_;
};
