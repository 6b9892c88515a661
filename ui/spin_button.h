// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An up-down pair of arrow buttons with no text and no edit field, as the window's spinners
// need it: a minimum, a maximum, wrap-around, a 16-bit position that code can read and set
// without a signal, a click signal that names the arrow and repeats while the arrow is held
// (the toolkit's auto-repeat), and a mouse-up signal for the real release of the button.

#include <QWidget>

#include "engine/design_editor.h"

class QToolButton;

class SpinButton : public QWidget {
    Q_OBJECT

public:
    explicit SpinButton(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setWrap(bool wrap) { wrap_ = wrap; }
    bool wrap() const { return wrap_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // Moves the spinner without emitting anything.
    void setPosition(int position);
    qint16 position() const { return position_; }

    // How assistive technology names the pair; each arrow is the name, a space and
    // the catalogue's arrowUp or arrowDown.
    void setSpokenName(const QString& name);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    // The arrow was pressed, or repeated while held; the position has already moved.
    void clicked(springcalc::Arrow arrow);
    // The mouse button was released after a press on either arrow.
    void mouseUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(springcalc::Arrow arrow);

    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
    qint16 position_ = 0;
    bool wrap_ = false;
};
