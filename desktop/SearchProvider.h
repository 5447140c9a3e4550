#pragma once
// The desktop search over D-Bus: GNOME Shell's search provider
// (org.gnome.Shell.SearchProvider2) and KRunner's runner (org.kde.krunner1),
// both answered by DesktopSearch. Activating a result starts the window on
// its query; the clipboard text of a result is its line. The process owns
// the bus name below, serves until it has been idle for a while, and then
// exits (D-Bus activation starts it again when it is asked). The idle time
// counts from when the name is owned, never from before the data is read:
// a call that D-Bus activation holds back for the name is answered.

#include <QDBusArgument>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <map>
#include <string>

#include "desktop/DesktopSearch.h"

namespace tq {

inline constexpr char kSearchProviderBusName[] = "io.github.telquest.Telquest.SearchProvider";
inline constexpr char kGnomeProviderPath[] = "/io/github/telquest/Telquest/SearchProvider";
inline constexpr char kKRunnerPath[] = "/runner";

// One match of KRunner: id, text, icon, type, relevance, properties.
struct KRunnerMatch {
  QString id, text, icon;
  int type = 0;
  double relevance = 0;
  QVariantMap properties;
};
// One action of KRunner: id, text, icon (none are offered).
struct KRunnerAction {
  QString id, text, icon;
};

QDBusArgument& operator<<(QDBusArgument& out, const KRunnerMatch& match);
const QDBusArgument& operator>>(const QDBusArgument& in, KRunnerMatch& match);
QDBusArgument& operator<<(QDBusArgument& out, const KRunnerAction& action);
const QDBusArgument& operator>>(const QDBusArgument& in, KRunnerAction& action);

class SearchProvider : public QObject {
  Q_OBJECT

 public:
  // Data from `dataFolder` (or the current directory), read now; activation
  // starts `program --query <query>`. Idle() is signalled once `idleMs` pass
  // without a call after Serve().
  SearchProvider(std::filesystem::path dataFolder, QString program, int idleMs);

  // Starts the idle countdown: the name is owned, calls may come.
  void Serve();

  // Results of the words typed: their ids (the queries of the results).
  QStringList Results(const QStringList& terms);
  // Name and clipboard text of a result id (searched again when not known).
  QString LineOf(const QString& id);
  void Activate(const QString& id);

 signals:
  void Idle();

 private:
  void Touch();

  DesktopSearch search_;
  QString program_;
  QTimer idle_;
  std::map<QString, QString> lines_;  // of the last results, by id
};

// Registers both interfaces and the bus name on the session bus and runs
// until idle; the exit status of the program (1 without a session bus, 0 when
// another instance already serves the name).
int RunSearchProvider(const std::filesystem::path& dataFolder, const QString& program, int idleMs);

}  // namespace tq

Q_DECLARE_METATYPE(tq::KRunnerMatch)
Q_DECLARE_METATYPE(tq::KRunnerAction)
