#include "gui/ListAccessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace vendra {
namespace {

class NamedListAccessible : public QAccessibleWidget {
  public:
    explicit NamedListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return list()->accessibleName();
        if (kind == QAccessible::Value) return list()->currentText();
        return QAccessibleWidget::text(kind);
    }

    // The entries, in the list that drops down.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (list()->view()->isVisible()) {
            list()->hidePopup();
        } else {
            list()->showPopup();
        }
    }
    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

  private:
    QComboBox* list() const { return static_cast<QComboBox*>(object()); }
};

QAccessibleInterface* NamedListFactory(const QString& className, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || !list || list->accessibleName().isEmpty())
        return nullptr;
    return new NamedListAccessible(list);
}

}  // namespace

void NameListsByTheirPurpose() {
    static const bool installed = (QAccessible::installFactory(NamedListFactory), true);
    (void)installed;
}

}  // namespace vendra
