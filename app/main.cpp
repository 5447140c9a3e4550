// Telquest Pro: area codes of the United States and Canada, looked up by code
// or by place. The data files and "tqs.ini" are read from the current
// directory.
//   telquest                     the window
//   telquest --query TEXT        the window, TEXT searched as it opens
//   telquest [--query] -- TEXT   the same; nothing after "--" is an option
//   telquest --search-provider   the desktop search over D-Bus (no window);
//                                TELQUEST_PROGRAM names the program that
//                                activation starts (default: this one)
// A window already running in the session takes TEXT and comes to the front
// instead of a second one. Qt sees only the arguments that are not these.
#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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
  std::vector<char*> forQt{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) {
      QStringList words;
      for (int rest = i + 1; rest < argc; ++rest) words << QString::fromLocal8Bit(argv[rest]);
      query = words.join(QLatin1Char(' '));
      break;
    }
    if (std::strcmp(argv[i], "--search-provider") == 0) {
      provider = true;
    } else if (std::strcmp(argv[i], "--query") == 0) {
      // "--query -- TEXT": the text follows the "--".
      if (i + 1 < argc && std::strcmp(argv[i + 1], "--") != 0) query = QString::fromLocal8Bit(argv[++i]);
    } else if (std::strcmp(argv[i], "--idle-exit-ms") == 0 && i + 1 < argc) {
      idleMs = std::atoi(argv[++i]);
    } else {
      forQt.push_back(argv[i]);
    }
  }
  int qtArgc = static_cast<int>(forQt.size());
  forQt.push_back(nullptr);
  if (provider) {
    QCoreApplication application(qtArgc, forQt.data());
    const QString program = qEnvironmentVariableIsEmpty("TELQUEST_PROGRAM")
                                ? QCoreApplication::applicationFilePath()
                                : qEnvironmentVariable("TELQUEST_PROGRAM");
    return tq::RunSearchProvider({}, program, idleMs > 0 ? idleMs : kProviderIdleMs);
  }
  QApplication application(qtArgc, forQt.data());
  QApplication::setApplicationName(QStringLiteral("Telquest Pro"));
  QApplication::setWindowIcon(tq::AppIcon());
  tq::CLookupApp lookupApp;
  lookupApp.InitInstance(query);
  return 0;
}
