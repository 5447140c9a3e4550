#include "lookup/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace tq {

WaitCursor::~WaitCursor() {
  while (depth_ > 0) End();
}

void WaitCursor::Begin() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  ++depth_;
}

void WaitCursor::End() {
  if (depth_ == 0) return;
  --depth_;
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace tq
