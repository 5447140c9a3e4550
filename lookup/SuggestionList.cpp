#include "lookup/SuggestionList.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

namespace tq {
namespace {

// Reaches QAccessibleWidget's protected addControllingSignal on the field's
// own interface, which keeps its text interfaces.
struct ControllingSignals : QAccessibleWidget {
  using QAccessibleWidget::addControllingSignal;
};

}  // namespace

SuggestionList::SuggestionList(QLineEdit* field, QWidget* parent,
                               std::function<QStringList(const QString&)> suggest)
    : QListWidget(parent), field_(field), suggest_(std::move(suggest)) {
  setObjectName(QStringLiteral("suggestions"));
  setAccessibleName(QStringLiteral("Suggestions"));
  setFocusPolicy(Qt::NoFocus);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::Box);
  hide();
  // The field's edits reach the list alone: the one receiver of the signal
  // that makes the field the list's controller to assistive technology.
  connect(field_, &QLineEdit::textEdited, this, &SuggestionList::OnFieldEdited);
  if (auto* fieldAccess = dynamic_cast<QAccessibleWidget*>(QAccessible::queryAccessibleInterface(field_))) {
    void (QAccessibleWidget::*add)(const QString&) = &ControllingSignals::addControllingSignal;
    (fieldAccess->*add)(QStringLiteral("textEdited(QString)"));
  }
  field_->installEventFilter(this);
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const QString place = item->text();
    Close();
    emit taken(place);
  });
}

QString SuggestionList::Active() const {
  return isVisible() && active_ >= 0 && active_ < count() ? item(active_)->text() : QString();
}

void SuggestionList::OnFieldEdited(const QString& text) {
  const QStringList places = suggest_(text);
  if (places.isEmpty()) {
    Close();
    return;
  }
  Open(places);
}

void SuggestionList::Open(const QStringList& places) {
  const bool wasActive = active_ >= 0;
  active_ = -1;
  clear();
  addItems(places);
  Place();
  show();
  raise();
  if (wasActive) ReportFieldFocused();
}

// Under the field, as wide as the field or its longest entry, within the
// window.
void SuggestionList::Place() {
  QWidget* area = parentWidget();
  const QRect fieldRect(field_->mapTo(area, QPoint(0, 0)), field_->size());
  int width = fieldRect.width();
  for (int row = 0; row < count(); ++row) {
    width = std::max(width, fontMetrics().horizontalAdvance(item(row)->text()) + 12);
  }
  width = std::min(width, area->width() - fieldRect.left());
  const int rowHeight = std::max(sizeHintForRow(0), fontMetrics().height());
  const int height = rowHeight * count() + 2 * frameWidth();
  setGeometry(fieldRect.left(), fieldRect.bottom() + 1, width, height);
}

void SuggestionList::Close() {
  if (!isVisible()) return;
  const bool wasActive = active_ >= 0;
  active_ = -1;
  hide();
  if (wasActive) ReportFieldFocused();
}

void SuggestionList::SetActive(int row) {
  active_ = row;
  if (row < 0) {
    clearSelection();
    setCurrentRow(-1, QItemSelectionModel::Clear);
    ReportFieldFocused();
    return;
  }
  setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  scrollToItem(item(row));
  if (QAccessible::isActive()) {
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(row);
    QAccessible::updateAccessibility(&focus);
  }
}

void SuggestionList::ReportFieldFocused() {
  if (!QAccessible::isActive() || !field_->hasFocus()) return;
  QAccessibleEvent focus(field_, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}

bool SuggestionList::eventFilter(QObject* watched, QEvent* event) {
  if (watched != field_) return QListWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusOut) {
    Close();
    return false;
  }
  if (event->type() != QEvent::KeyPress || !isVisible()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Down:
      SetActive(active_ + 1 < count() ? active_ + 1 : active_);
      return true;
    case Qt::Key_Up:
      SetActive(active_ >= 0 ? active_ - 1 : -1);
      return true;
    case Qt::Key_Escape:
      Close();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      const QString place = Active();
      if (place.isEmpty()) {
        Close();
        return false;  // the text as typed, searched by the window
      }
      Close();
      emit taken(place);
      return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      Close();
      return false;
    default:
      return false;
  }
}

}  // namespace tq
