#include "app/HelpWindow.h"

#include <QKeyEvent>
#include <QUrl>

#include "app/AppIcon.h"

namespace tq {

CHelpWindow::CHelpWindow(QWidget* parent) : QTextBrowser(parent) {
  setWindowFlag(Qt::Window);
  setWindowTitle(QStringLiteral("Telquest Pro Help"));
  setWindowIcon(AppIcon());
  setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
  resize(560, 600);
}

void CHelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QTextBrowser::keyPressEvent(event);
}

}  // namespace tq
