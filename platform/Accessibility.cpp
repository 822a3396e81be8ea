#include "Accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace quenda {

namespace {

constexpr char kRole[] = "quendaAccessibleRole";

// The press of a pressable widget, kept as the widget's child so that it lives exactly as long.
class PressAction : public QObject {
public:
    PressAction(QWidget& widget, std::function<void()> press, QAccessible::Role role)
        : QObject(&widget), m_press(std::move(press)), m_role(role) {}
    const std::function<void()>& Press() const { return m_press; }
    QAccessible::Role Role() const { return m_role; }

private:
    std::function<void()> m_press;
    QAccessible::Role m_role;
};

const PressAction* PressActionOf(const QWidget& widget) {
    for (const QObject* child : widget.children())
        if (const auto* action = dynamic_cast<const PressAction*>(child)) return action;
    return nullptr;
}

class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* widget, const PressAction& action)
        : QAccessibleWidget(widget, action.Role()), m_press(action.Press()) {}

    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (role() == QAccessible::ButtonMenu) names.append(showMenuAction());
        return names;
    }

    void doAction(const QString& name) override {
        if (name != pressAction() && name != showMenuAction()) return QAccessibleWidget::doAction(name);
        QMetaObject::invokeMethod(widget(), m_press, Qt::QueuedConnection);
    }

private:
    std::function<void()> m_press;
};

// Consulted before Qt's own factory, and only for the object's own class: a pressable QLabel is described
// here, a plain one by Qt.
QAccessibleInterface* DescribeWidget(const QString& key, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || key != QLatin1String(object->metaObject()->className())) return nullptr;
    if (const PressAction* action = PressActionOf(*widget)) return new PressableAccessible(widget, *action);
    if (const QVariant role = widget->property(kRole); role.isValid())
        return new QAccessibleWidget(widget, role.value<QAccessible::Role>());
    return nullptr;
}

// Installs the factory once, and drops a description Qt made of `widget` before it was marked: a label's
// text change, for one, asks for it.
void Describe(QWidget& widget) {
    static const bool installed = [] {
        QAccessible::installFactory(&DescribeWidget);
        return true;
    }();
    (void)installed;
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace

void MakePressable(QWidget& widget, const QString& name, std::function<void()> press,
                   QAccessible::Role role) {
    new PressAction(widget, std::move(press), role);
    Describe(widget);
    widget.setAccessibleName(name);
}

void SetAccessibleRole(QWidget& widget, QAccessible::Role role) {
    widget.setProperty(kRole, QVariant::fromValue(role));
    Describe(widget);
}

} // namespace quenda
