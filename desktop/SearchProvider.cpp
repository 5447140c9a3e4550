#include "desktop/SearchProvider.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDateTime>
#include <QProcess>
#include <cstdio>
#include <utility>
#include <vector>

#include "time/LocalTime.h"

namespace tq {

QDBusArgument& operator<<(QDBusArgument& out, const KRunnerMatch& match) {
  out.beginStructure();
  out << match.id << match.text << match.icon << match.type << match.relevance
      << match.properties;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, KRunnerMatch& match) {
  in.beginStructure();
  in >> match.id >> match.text >> match.icon >> match.type >> match.relevance >>
      match.properties;
  in.endStructure();
  return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const KRunnerAction& action) {
  out.beginStructure();
  out << action.id << action.text << action.icon;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, KRunnerAction& action) {
  in.beginStructure();
  in >> action.id >> action.text >> action.icon;
  in.endStructure();
  return in;
}

namespace {

// The terms as UTF-8, each cut at kMaxTermChars characters, and no more of
// them than a query can hold.
std::vector<std::string> Utf8Terms(const QStringList& terms) {
  std::vector<std::string> words;
  std::size_t bytes = 0;
  for (const QString& term : terms) {
    if (bytes > DesktopSearch::kMaxQueryBytes) break;
    words.push_back(term.left(SearchProvider::kMaxTermChars).toStdString());
    bytes += words.back().size() + 1;
  }
  return words;
}

// org.gnome.Shell.SearchProvider2 on the provider.
class GnomeSearchAdaptor : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

 public:
  explicit GnomeSearchAdaptor(SearchProvider& provider) : provider_(provider) {}

 public slots:
  QStringList GetInitialResultSet(const QStringList& terms) { return provider_.Results(terms); }
  QStringList GetSubsearchResultSet(const QStringList& /*previous*/, const QStringList& terms) {
    return provider_.Results(terms);
  }
  QList<QVariantMap> GetResultMetas(const QStringList& ids) {
    QList<QVariantMap> metas;
    for (const QString& id : ids.mid(0, SearchProvider::kMaxMetas)) {
      const DesktopResult* result = provider_.Known(id);
      if (!result) continue;
      metas.append(QVariantMap{{QStringLiteral("id"), id},
                               {QStringLiteral("name"), QString::fromStdString(result->title)},
                               {QStringLiteral("description"), QString::fromStdString(result->description)},
                               {QStringLiteral("gicon"), QStringLiteral("telquest")}});
    }
    return metas;
  }
  void ActivateResult(const QString& id, const QStringList& /*terms*/, uint /*timestamp*/) {
    provider_.Activate(id);
  }
  void LaunchSearch(const QStringList& terms, uint /*timestamp*/) {
    QStringList cut;
    for (const QString& term : terms.mid(0, 16)) cut << term.left(SearchProvider::kMaxTermChars);
    provider_.Launch(cut.join(QLatin1Char(' ')));
  }

 private:
  SearchProvider& provider_;
};

// org.kde.krunner1 on the provider.
class KRunnerAdaptor : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

 public:
  explicit KRunnerAdaptor(SearchProvider& provider) : provider_(provider) {}

 public slots:
  QList<KRunnerAction> Actions() { return {}; }
  QList<KRunnerMatch> Match(const QString& query) {
    QList<KRunnerMatch> matches;
    constexpr int kPossibleMatch = 30;
    double relevance = 1.0;
    for (const QString& id : provider_.Results({query})) {
      const DesktopResult* result = provider_.Known(id);
      if (!result) continue;
      matches.append({id, QString::fromStdString(result->title), QStringLiteral("telquest"),
                      kPossibleMatch, relevance,
                      QVariantMap{{QStringLiteral("subtext"), QString::fromStdString(result->description)}}});
      relevance -= 0.1;
    }
    return matches;
  }
  void Run(const QString& matchId, const QString& /*actionId*/) { provider_.Activate(matchId); }

 private:
  SearchProvider& provider_;
};

}  // namespace

SearchProvider::SearchProvider(std::filesystem::path dataFolder, QString program, int idleMs)
    : search_(std::move(dataFolder)), program_(std::move(program)) {
  idle_.setSingleShot(true);
  idle_.setInterval(idleMs);
  connect(&idle_, &QTimer::timeout, this, &SearchProvider::Idle);
  search_.Open();
}

void SearchProvider::Serve() { idle_.start(); }

void SearchProvider::Touch() {
  if (idle_.isActive()) idle_.start();
}

QStringList SearchProvider::Results(const QStringList& terms) {
  Touch();
  QStringList ids;
  for (DesktopResult& result : search_.Search(Utf8Terms(terms), UtcNow())) {
    ids << QString::fromStdString(result.query);
    known_.push_back(std::move(result));
    if (known_.size() > kKnownResults) known_.pop_front();
  }
  return ids;
}

const DesktopResult* SearchProvider::Known(const QString& id) const {
  const std::string query = id.toStdString();
  for (auto result = known_.rbegin(); result != known_.rend(); ++result) {
    if (result->query == query) return &*result;
  }
  return nullptr;
}

bool SearchProvider::Activate(const QString& id) {
  Touch();
  if (!Known(id)) return false;
  Start(id);
  return true;
}

void SearchProvider::Launch(const QString& text) {
  Touch();
  if (text.trimmed().isEmpty()) return;
  Start(text.left(static_cast<int>(DesktopSearch::kMaxQueryBytes)));
}

void SearchProvider::Start(const QString& text) {
  // "--" first: the text is never read as an option, by the program or by Qt.
  if (!QProcess::startDetached(program_, {QStringLiteral("--query"), QStringLiteral("--"), text})) {
    std::fprintf(stderr, "telquest: could not start %s\n", qPrintable(program_));
  }
}

int RunSearchProvider(const std::filesystem::path& dataFolder, const QString& program, int idleMs) {
  qDBusRegisterMetaType<KRunnerMatch>();
  qDBusRegisterMetaType<QList<KRunnerMatch>>();
  qDBusRegisterMetaType<KRunnerAction>();
  qDBusRegisterMetaType<QList<KRunnerAction>>();
  qDBusRegisterMetaType<QList<QVariantMap>>();
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "telquest: no D-Bus session bus: %s\n",
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  SearchProvider provider(dataFolder, program, idleMs);
  QObject::connect(&provider, &SearchProvider::Idle, QCoreApplication::instance(),
                   &QCoreApplication::quit);
  GnomeSearchAdaptor gnome(provider);
  KRunnerAdaptor krunner(provider);
  bus.registerObject(QString::fromLatin1(kGnomeProviderPath), &gnome, QDBusConnection::ExportAllSlots);
  bus.registerObject(QString::fromLatin1(kKRunnerPath), &krunner, QDBusConnection::ExportAllSlots);
  const QString name = QString::fromLatin1(kSearchProviderBusName);
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> owned =
      bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (!owned.isValid() || owned.value() != QDBusConnectionInterface::ServiceRegistered) {
    std::fprintf(stderr, "telquest: %s is already served by another instance\n", qPrintable(name));
    return 0;
  }
  provider.Serve();
  return QCoreApplication::exec();
}

}  // namespace tq

#include "SearchProvider.moc"
