#pragma once

#include <QAccessible>

class QWidget;

namespace qv {

// What a screen reader is told about the program's own widgets, beyond what
// the toolkit knows from their classes: the windows that are dialogs, the
// frames that group controls, the pictures and what they show, the lists and
// the captions that label them; and which pictures only decorate.
//
// Installed once for the application, before the first window is made.
void installAccessibility();

// The role a widget is announced with, where its class says too little (a
// plain window that is a dialog, a frame, a page, a picture). A window with
// the role of a window is announced as a dialog while it is shown modally.
void setAccessibleRole(QWidget& widget, QAccessible::Role role);

// Words a screen reader reads after a control's value, as the eye reads them
// right of it: "Times" after the list that sits between "Repeat Object" and
// "Times" ("Repeat Object, 1 Times").
void setAccessibleUnit(QWidget& control, const QString& unit);

// Gives widget and the controls in it a new identity for screen readers,
// which keep the role of an object (and of its parent) from the first time
// they met it: for a window that has become a dialog, or a window of its own
// again.
void renewAccessibleIdentity(QWidget& widget);

// A picture (or a mark such as the focus ring) that only decorates: it is
// left out of what a screen reader reads.
void markDecorative(QWidget& widget);
bool isDecorative(const QWidget& widget);

}  // namespace qv
