#include "gui/ListAccessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace vendra {
namespace {

// A list known by its purpose, which reports the text it shows (its entry, or what was typed into
// its entry field) as its value and as its text (the text is what screen readers on Linux read
// out), read-only.
class NamedListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit NamedListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(int start, int end) const override {
        return list()->currentText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(list()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    using QAccessibleWidget::text;
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return list()->accessibleName();
        if (kind == QAccessible::Value) return list()->currentText();
        return QAccessibleWidget::text(kind);
    }

    // The entries, in the list that drops down, and the entry field of a list that has one.
    int childCount() const override { return list()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        QObject* children[] = {list()->view(), list()->lineEdit()};
        return index >= 0 && index < childCount()
                   ? QAccessible::queryAccessibleInterface(children[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (child->object() == list()->view()) return 0;
        return child->object() && child->object() == list()->lineEdit() ? 1 : -1;
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
