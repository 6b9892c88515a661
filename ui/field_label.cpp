#include "field_label.h"

#include <QPainter>

FieldLabel::FieldLabel(QWidget* parent) : QWidget(parent) {}

void FieldLabel::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    if (autoSize_) {
        fitToText();
    }
    update();
}

void FieldLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_) {
        fitToText();
    }
}

void FieldLabel::fitToText() {
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text_), metrics.height());
}

void FieldLabel::setBackground(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void FieldLabel::clearBackground() {
    setAutoFillBackground(false);
}

void FieldLabel::setTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void FieldLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    const int x = rightAligned_ ? width() - metrics.horizontalAdvance(text_) : 0;
    const int baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x, baseline, text_);
}
