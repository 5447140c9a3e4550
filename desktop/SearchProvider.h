#pragma once
// The desktop search over D-Bus: GNOME Shell's search provider
// (org.gnome.Shell.SearchProvider2) and KRunner's runner (org.kde.krunner1),
// both answered by DesktopSearch. Activating a result starts the window on
// its query (`program --query -- QUERY`: no text of a query is ever read as
// an option; a window already running takes it). Only results this service
// returned are described or activated: any other id is ignored. The work of
// one call is bounded: at most kMaxMetas ids are described, and each term
// is cut at kMaxTermChars characters. The process owns
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
#include <deque>
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

  static constexpr int kMaxMetas = 50;
  static constexpr int kMaxTermChars = 256;
  // Results returned lately whose ids are still known.
  static constexpr std::size_t kKnownResults = 64;

  // Results of the words typed: their ids (the queries of the results).
  QStringList Results(const QStringList& terms);
  // A result this service returned lately, or null.
  const DesktopResult* Known(const QString& id) const;
  // Starts the window on a result this service returned; false (and
  // nothing started) for any other id.
  bool Activate(const QString& id);
  // Starts the window on text the user typed (a search launched from the
  // overview).
  void Launch(const QString& text);

 signals:
  void Idle();

 private:
  void Touch();

  void Start(const QString& text);

  DesktopSearch search_;
  QString program_;
  QTimer idle_;
  std::deque<DesktopResult> known_;  // returned lately, the newest last
};

// Registers both interfaces and the bus name on the session bus and runs
// until idle; the exit status of the program (1 without a session bus, 0 when
// another instance already serves the name).
int RunSearchProvider(const std::filesystem::path& dataFolder, const QString& program, int idleMs);

}  // namespace tq

Q_DECLARE_METATYPE(tq::KRunnerMatch)
Q_DECLARE_METATYPE(tq::KRunnerAction)
