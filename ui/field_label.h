// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static text that keeps every blank of its text: the number formats end in blanks that set
// the digits off from the right edge of a value field, which QLabel would let hang.

#include <QColor>
#include <QString>
#include <QWidget>

class FieldLabel : public QWidget {
    Q_OBJECT

public:
    explicit FieldLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }
    // Right-aligned labels keep their size; automatic ones fit themselves to their text.
    void setRightAligned(bool right) { rightAligned_ = right; }
    void setAutoSize(bool autoSize);
    // A colour of its own, or the window's colour, whatever lies behind the label.
    void setBackground(const QColor& color);
    void useParentBackground();
    void setTextColor(const QColor& color);
    // Where the text's top left stands inside the label, as it is painted.
    QPoint textTopLeft() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToText();

    QString text_;
    // The colours last given, so that setting the same one again costs nothing.
    QColor background_;
    QColor textColor_;
    bool rightAligned_ = false;
    bool autoSize_ = false;
};
