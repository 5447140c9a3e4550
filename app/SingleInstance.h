#pragma once
// One window process per session: the first window owns the bus name below
// and takes the queries of the programs started after it, which hand their
// query over and end. Without a session bus, or when the owner does not
// answer, every start is a window of its own.

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace tq {

inline constexpr char kWindowBusName[] = "io.github.telquest.Telquest";
inline constexpr char kWindowPath[] = "/io/github/telquest/Telquest/Window";
inline constexpr char kWindowInterface[] = "io.github.telquest.Telquest.Window";

class SingleInstance : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "io.github.telquest.Telquest.Window")

 public:
  // Claims the name on `bus` and serves it while this object lives.
  explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus());
  ~SingleInstance() override;

  // True when this process owns the name: it is the one window.
  bool Owned() const { return owned_; }

  // Gives `query` (empty: none) to the window that owns the name, which
  // searches it and comes to the front; false when no window took it.
  static bool HandOver(const QString& query, QDBusConnection bus = QDBusConnection::sessionBus());

 public slots:
  // Over D-Bus: search `query` (unless empty) and come to the front.
  void Search(const QString& query);

 signals:
  void searchRequested(const QString& query);

 private:
  QDBusConnection bus_;
  bool owned_ = false;
};

}  // namespace tq
