// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/field_label.h"

#include <QPainter>
#include <utility>

#include "ui/accessible_label.h"

FieldLabel::FieldLabel(QWidget* parent) : QWidget(parent) {}

void FieldLabel::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    const QString before = std::exchange(text_, text);
    if (autoSize_) {
        fitToText();
    }
    update();
    AnnounceTextChange(this, before);
}

void FieldLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) {
        fitToText();
    }
}

void FieldLabel::fitToText() {
    const QFontMetrics metrics(font());
    const QSize fitted(metrics.horizontalAdvance(text_), metrics.height());
    // resize() invalidates what the window knows of its opaque children even when the size
    // stays, and the next repaint then works that out again for every control.
    if (fitted != size()) {
        resize(fitted);
    }
}

// The checks set the colour of every caption they look at on every click, nearly always to the
// colour it already has; a new palette costs more than drawing the caption would.
void FieldLabel::setBackground(const QColor& color) {
    if (autoFillBackground() && color == background_) {
        return;
    }
    background_ = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

// Opaque in the window's own colour, which it follows (white while the window is printed): a
// caption over a drawing stands on the window's face, not on the drawing's grey.
void FieldLabel::useParentBackground() {
    setAutoFillBackground(true);
}

void FieldLabel::setTextColor(const QColor& color) {
    if (color == textColor_) {
        return;
    }
    // A label shows its window's text colour until given another. Most are given just that one
    // when the window is made, and a palette of their own for it was a quarter of what the
    // window's start-up still executed beyond a bare toolkit window's.
    const bool inherited = !textColor_.isValid() && color == palette().color(QPalette::WindowText);
    textColor_ = color;
    if (inherited) {
        return;
    }
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void FieldLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QPoint topLeft = textTopLeft();
    painter.drawText(topLeft.x(), topLeft.y() + QFontMetrics(font()).ascent(), text_);
}

QPoint FieldLabel::textTopLeft() const {
    const QFontMetrics metrics(font());
    return {rightAligned_ ? width() - metrics.horizontalAdvance(text_) : 0,
            (height() - metrics.height()) / 2};
}
