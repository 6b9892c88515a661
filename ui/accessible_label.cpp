// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessible_label.h"

#include <QFontMetrics>

#include "ui/field_label.h"

AccessibleLabel::AccessibleLabel(FieldLabel* label)
    : QAccessibleWidget(label, QAccessible::StaticText) {}

FieldLabel* AccessibleLabel::label() const {
    return static_cast<FieldLabel*>(widget());
}

QString AccessibleLabel::text(QAccessible::Text kind) const {
    switch (kind) {
        case QAccessible::Name:
        case QAccessible::Value:
            return label()->text();
        default:
            return QAccessibleWidget::text(kind);
    }
}

void* AccessibleLabel::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

void AccessibleLabel::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QString AccessibleLabel::text(int startOffset, int endOffset) const {
    return label()->text().mid(startOffset, endOffset - startOffset);
}

int AccessibleLabel::characterCount() const {
    return static_cast<int>(label()->text().size());
}

QRect AccessibleLabel::characterRect(int offset) const {
    const QString& shown = label()->text();
    if (offset < 0 || offset >= shown.size()) {
        return {};
    }
    const QFontMetrics metrics(label()->font());
    const QPoint text = label()->textTopLeft();
    const QRect local(text.x() + metrics.horizontalAdvance(shown.left(offset)), text.y(),
                      metrics.horizontalAdvance(shown.at(offset)), metrics.height());
    return QRect(label()->mapToGlobal(local.topLeft()), local.size());
}

int AccessibleLabel::offsetAtPoint(const QPoint& point) const {
    for (int i = 0; i < characterCount(); ++i) {
        if (characterRect(i).contains(point)) {
            return i;
        }
    }
    return -1;
}

QString AccessibleLabel::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
}

namespace {

QAccessibleInterface* LabelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("FieldLabel") && object && object->isWidgetType()) {
        return new AccessibleLabel(static_cast<FieldLabel*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleLabels() {
    QAccessible::installFactory(LabelFactory);  // Qt keeps a factory once however often given
}

void AnnounceTextChange(FieldLabel* label, const QString& before) {
    // Costs nothing unless a screen reader or a test is listening.
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTextUpdateEvent update(label, 0, before, label->text());
    QAccessible::updateAccessibility(&update);
    QAccessibleEvent renamed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}
