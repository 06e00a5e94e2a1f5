#include "toolkit/tab_order.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace vesk {

namespace {

constexpr char kTabOrder[] = "veskTabOrder";

}  // namespace

void SetTabOrder(QWidget& control, int order) {
  control.setProperty(kTabOrder, order);
  QWidget* parent = control.parentWidget();
  if (parent == nullptr) return;
  std::vector<QWidget*> numbered;
  for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (sibling->property(kTabOrder).isValid()) numbered.push_back(sibling);
  std::stable_sort(numbered.begin(), numbered.end(), [](const QWidget* a, const QWidget* b) {
    return a->property(kTabOrder).toInt() < b->property(kTabOrder).toInt();
  });
  for (size_t i = 1; i < numbered.size(); ++i) QWidget::setTabOrder(numbered[i - 1], numbered[i]);
}

}  // namespace vesk
