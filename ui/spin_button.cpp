// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spin_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

#include "engine/words.h"
#include "layout/window_layout.h"

using springcalc::Arrow;

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setAutoRepeatDelay(springcalc::layout::kRepeatDelayMs);
        button->setAutoRepeatInterval(springcalc::layout::kRepeatIntervalMs);
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    setFocusPolicy(Qt::NoFocus);
    // A held button emits pressed() once at the press and once for every repeat, and never at
    // the release, which is how the platform's up-down control reports its clicks.
    connect(up_, &QToolButton::pressed, this, [this] { step(Arrow::Up); });
    connect(down_, &QToolButton::pressed, this, [this] { step(Arrow::Down); });
}

void SpinButton::setSpokenName(const QString& name) {
    setAccessibleName(name);
    up_->setAccessibleName(name + QLatin1Char(' ') +
                           QString::fromUtf8(springcalc::Words("arrowUp")));
    down_->setAccessibleName(name + QLatin1Char(' ') +
                             QString::fromUtf8(springcalc::Words("arrowDown")));
}

void SpinButton::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void SpinButton::setPosition(int position) {
    position_ = static_cast<qint16>(position);
}

void SpinButton::step(Arrow arrow) {
    position_ = static_cast<qint16>(
        springcalc::layout::StepPosition(position_, minimum_, maximum_, wrap_, arrow == Arrow::Up));
    // At the end of the range without wrap the position stays, but the click is still told:
    // the value spinners act on the arrow alone.
    emit clicked(arrow);
}

bool SpinButton::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == up_ || watched == down_) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit mouseUp();
    }
    return QWidget::eventFilter(watched, event);
}

void SpinButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Right) {
        step(Arrow::Up);
    } else if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Left) {
        step(Arrow::Down);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void SpinButton::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    if (!event->isAutoRepeat() &&
        (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right)) {
        emit mouseUp();
    } else {
        QWidget::keyReleaseEvent(event);
    }
}

void SpinButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upperHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upperHeight);
    down_->setGeometry(0, upperHeight, width(), height() - upperHeight);
}
