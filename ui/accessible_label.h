// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What assistive technology (AT-SPI, screen readers, UI automation) reads of a FieldLabel: it
// paints its own text, so without this it is an unnamed, empty "filler". Here it is static
// text whose name and text are exactly what is painted, blanks included, and every change of
// the text is announced.

#include <QAccessibleWidget>

class FieldLabel;

class AccessibleLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleLabel(FieldLabel* label);

    QString text(QAccessible::Text kind) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface: the painted text, read-only, no caret and no selection.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    FieldLabel* label() const;
};

// Makes FieldLabel known to Qt's accessibility; call once, before the window is built.
void InstallAccessibleLabels();

// Tells assistive technology that `label` now shows another text.
void AnnounceTextChange(FieldLabel* label, const QString& before);
