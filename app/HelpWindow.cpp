#include "app/HelpWindow.h"

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

}  // namespace tq
