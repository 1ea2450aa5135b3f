#include "accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "pictures/transitionpicture.h"

namespace qv {

namespace {

constexpr char kRoleProperty[] = "qvAccessibleRole";
constexpr char kDecorativeProperty[] = "qvDecorative";
constexpr char kUnitProperty[] = "qvAccessibleUnit";

// The children a screen reader is shown: those the toolkit would show,
// without the decorations.
QList<QWidget*> shownChildren(const QWidget* widget) {
    QList<QWidget*> shown;
    for (QObject* child : widget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || qobject_cast<QFocusFrame*>(w) || qobject_cast<QMenu*>(w) ||
            isDecorative(*w))
            continue;
        shown.append(w);
    }
    return shown;
}

// A widget with the role it was given, whose decorations stay out of sight.
class WidgetAccessible : public QAccessibleWidget {
public:
    WidgetAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QAccessible::Role role() const override {
        const QWidget* w = widget();
        const QVariant given = w->property(kRoleProperty);
        const auto role =
            given.isValid() ? QAccessible::Role(given.toInt()) : QAccessibleWidget::role();
        // A window shown as another's dialog, or modally, is for that while
        // a dialog.
        if (role == QAccessible::Window && w->isWindow() &&
            (w->windowType() == Qt::Dialog || w->windowModality() != Qt::NonModal))
            return QAccessible::Dialog;
        return role;
    }

    int childCount() const override { return int(shownChildren(widget()).size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = shownChildren(widget());
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        return int(shownChildren(widget()).indexOf(qobject_cast<QWidget*>(child->object())));
    }
};

// A transition picture: a picture named after what it shows. An answer
// picture is a button; pressing it is a click on the picture.
class PictureAccessible final : public WidgetAccessible, public QAccessibleImageInterface {
public:
    explicit PictureAccessible(TransitionPicture* picture)
        : WidgetAccessible(picture, QAccessible::Graphic) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ImageInterface)
            return static_cast<QAccessibleImageInterface*>(this);
        return WidgetAccessible::interface_cast(type);
    }

    QString imageDescription() const override { return text(QAccessible::Name); }
    QSize imageSize() const override { return picture()->pictureArea().size(); }
    QPoint imagePosition() const override {
        return picture()->mapToGlobal(picture()->pictureArea().topLeft());
    }

    QStringList actionNames() const override {
        QStringList names = WidgetAccessible::actionNames();
        if (role() == QAccessible::Button && widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action != pressAction() || role() != QAccessible::Button) {
            WidgetAccessible::doAction(action);
            return;
        }
        // Pressed by a screen reader's command: the very click a hand would
        // give, queued as input, so that it is judged as one and dropped as
        // one while the game is held.
        const QRect area = picture()->pictureArea();
        const QPointF at = QRectF(area.isEmpty() ? picture()->rect() : area).center();
        const QPointF global = picture()->mapToGlobal(at);
        QCoreApplication::postEvent(
            picture(), new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                       Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            picture(), new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                       Qt::NoButton, Qt::NoModifier));
    }

private:
    TransitionPicture* picture() const { return static_cast<TransitionPicture*>(widget()); }
};

// The caption that holds a list and names it: a label around the list whose
// access key gives the list the focus.
QLabel* holdingCaption(const QWidget* list) {
    for (QWidget* up = list->parentWidget(); up && !up->isWindow(); up = up->parentWidget()) {
        auto* label = qobject_cast<QLabel*>(up);
        if (label && label->buddy() == list)
            return label;
    }
    return nullptr;
}

// A drop-down list inside the caption that labels it. On this desktop a
// list's name is the entry it shows and its label is found through the
// "labelled by" relation, which the toolkit looks for among the list's
// siblings only.
class ListAccessible final : public WidgetAccessible {
public:
    explicit ListAccessible(QComboBox* list) : WidgetAccessible(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text text) const override {
        if (text == QAccessible::Value)
            return list()->currentText();
        if (text == QAccessible::Name) {
            const QString unit = list()->property(kUnitProperty).toString();
            return unit.isEmpty() ? list()->currentText() : list()->currentText() + ' ' + unit;
        }
        return WidgetAccessible::text(text);
    }

    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto found = WidgetAccessible::relations(match);
        if (match & QAccessible::Label) {
            if (QLabel* caption = holdingCaption(list()))
                found.append({QAccessible::queryAccessibleInterface(caption), QAccessible::Label});
        }
        return found;
    }

    QAccessible::State state() const override {
        QAccessible::State state = WidgetAccessible::state();
        state.expandable = true;
        state.hasPopup = true;
        const bool open = list()->view() && list()->view()->isVisible();
        state.expanded = open;
        state.collapsed = !open;
        return state;
    }

    // The entries, as the list that drops down shows them.
    int childCount() const override { return list()->view() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && list()->view() ? QAccessible::queryAccessibleInterface(list()->view())
                                            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        if (!list()->isEnabled())
            return WidgetAccessible::actionNames();
        return QStringList{showMenuAction(), pressAction()} + WidgetAccessible::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            WidgetAccessible::doAction(action);
            return;
        }
        if (list()->view() && list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* accessibleFactory(const QString& key, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    // The factory is asked once for each class of the object's ancestry, its
    // own class first. It answers only there: whatever it leaves alone keeps
    // the toolkit's own interface.
    if (key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* picture = qobject_cast<TransitionPicture*>(widget))
        return new PictureAccessible(picture);
    if (auto* list = qobject_cast<QComboBox*>(widget); list && holdingCaption(list))
        return new ListAccessible(list);
    const QVariant role = widget->property(kRoleProperty);
    if (role.isValid())
        return new WidgetAccessible(widget, QAccessible::Role(role.toInt()));
    // A plain container, which may hold decorations.
    if (key == QLatin1String("QWidget"))
        return new WidgetAccessible(widget, QAccessible::Client);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(accessibleFactory);
}

void setAccessibleRole(QWidget& widget, QAccessible::Role role) {
    widget.setProperty(kRoleProperty, int(role));
    // An interface the toolkit made before the widget had its role (naming a
    // widget makes one) is made anew, by the factory that knows the role.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
        made && !dynamic_cast<WidgetAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void setAccessibleUnit(QWidget& control, const QString& unit) {
    control.setProperty(kUnitProperty, unit);
}

void renewAccessibleIdentity(QWidget& widget) {
    // The next question about the widget makes its interface anew, under a
    // new id; its controls' too, which a screen reader knows with the old
    // window as their parent.
    QList<QWidget*> renewed = widget.findChildren<QWidget*>();
    renewed.prepend(&widget);
    for (QWidget* each : renewed) {
        if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(each))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
    }
}

void markDecorative(QWidget& widget) {
    widget.setProperty(kDecorativeProperty, true);
}

bool isDecorative(const QWidget& widget) {
    return widget.property(kDecorativeProperty).toBool();
}

}  // namespace qv
