#include "app/accessibility.h"

#include <QAccessibleWidget>
#include <algorithm>

#include "app/clickable_label.h"
#include "app/form1.h"

namespace kelvaro {
namespace {

class ClickableLabelAccessible : public QAccessibleWidget {
 public:
  explicit ClickableLabelAccessible(ClickableLabel* label) : QAccessibleWidget(label) {}

  QAccessible::Role role() const override {
    return label()->DoesSomething() ? QAccessible::Button : QAccessible::StaticText;
  }

  QString text(QAccessible::Text type) const override {
    if (type == QAccessible::Name && label()->accessibleName().isEmpty()) return label()->text();
    return QAccessibleWidget::text(type);
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (Pressable()) names.prepend(pressAction());
    return names;
  }

  void doAction(const QString& action) override {
    if (action == pressAction()) {
      if (Pressable()) label()->click();
      return;
    }
    QAccessibleWidget::doAction(action);
  }

 private:
  ClickableLabel* label() const { return static_cast<ClickableLabel*>(widget()); }
  bool Pressable() const { return label()->isEnabled() && label()->DoesSomething(); }
};

// Qt lists every child widget, hidden or not; the never-shown controls would
// stand among the window's children as invisible buttons.
class MainWindowAccessible : public QAccessibleWidget {
 public:
  explicit MainWindowAccessible(Form1* form) : QAccessibleWidget(form) {}

  int childCount() const override { return static_cast<int>(Children().size()); }

  QAccessibleInterface* child(int index) const override {
    const QList<QAccessibleInterface*> children = Children();
    return index >= 0 && index < children.size() ? children.at(index) : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return static_cast<int>(Children().indexOf(const_cast<QAccessibleInterface*>(child)));
  }

 private:
  QList<QAccessibleInterface*> Children() const {
    const auto neverShown = static_cast<const Form1*>(widget())->NeverShownControls();
    QList<QAccessibleInterface*> children;
    for (int i = 0, n = QAccessibleWidget::childCount(); i < n; ++i) {
      QAccessibleInterface* child = QAccessibleWidget::child(i);
      if (child && std::ranges::find(neverShown, child->object()) == neverShown.end()) {
        children.append(child);
      }
    }
    return children;
  }
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
  if (object == nullptr) return nullptr;
  if (className == QLatin1String(ClickableLabel::staticMetaObject.className()))
    return new ClickableLabelAccessible(static_cast<ClickableLabel*>(object));
  if (className == QLatin1String(Form1::staticMetaObject.className()))
    return new MainWindowAccessible(static_cast<Form1*>(object));
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(MakeAccessible);
    return true;
  }();
  (void)installed;
}

}  // namespace kelvaro
