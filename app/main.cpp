// Telquest Pro: area codes of the United States and Canada, looked up by code
// or by place. The data files and "tqs.ini" are read from the current
// directory.
//   telquest                     the window
//   telquest --query TEXT        the window, TEXT searched as it opens
//   telquest --search-provider   the desktop search over D-Bus (no window);
//                                TELQUEST_PROGRAM names the program that
//                                activation starts (default: this one)
#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/AppIcon.h"
#include "app/LookupApp.h"
#include "desktop/SearchProvider.h"

namespace {

// How long the search provider waits for the next call before it exits.
constexpr int kProviderIdleMs = 20000;

}  // namespace

int main(int argc, char** argv) {
  bool provider = false;
  int idleMs = kProviderIdleMs;
  QString query;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--search-provider") == 0) provider = true;
    if (std::strcmp(argv[i], "--query") == 0 && i + 1 < argc) query = QString::fromLocal8Bit(argv[++i]);
    if (std::strcmp(argv[i], "--idle-exit-ms") == 0 && i + 1 < argc) idleMs = std::atoi(argv[++i]);
  }
  if (provider) {
    QCoreApplication application(argc, argv);
    const QString program = qEnvironmentVariableIsEmpty("TELQUEST_PROGRAM")
                                ? QCoreApplication::applicationFilePath()
                                : qEnvironmentVariable("TELQUEST_PROGRAM");
    return tq::RunSearchProvider({}, program, idleMs > 0 ? idleMs : kProviderIdleMs);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Telquest Pro"));
  // The windows are laid out to the pixel; one style draws them alike everywhere.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setWindowIcon(tq::AppIcon());
  tq::CLookupApp lookupApp;
  lookupApp.InitInstance(query);
  return 0;
}
