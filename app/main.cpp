// Telquest Pro: area codes of the United States and Canada, looked up by code
// or by place. The data files and "tqs.ini" are read from the current
// directory.
#include <QApplication>

#include "app/AppIcon.h"
#include "app/LookupApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Telquest Pro"));
  // The windows are laid out to the pixel; one style draws them alike everywhere.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setWindowIcon(tq::AppIcon());
  tq::CLookupApp lookupApp;
  lookupApp.InitInstance();
  return 0;
}
