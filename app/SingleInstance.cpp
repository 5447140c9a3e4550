#include "app/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace tq {

SingleInstance::SingleInstance(QDBusConnection bus) : bus_(std::move(bus)) {
  if (!bus_.isConnected()) return;
  if (!bus_.registerObject(QString::fromLatin1(kWindowPath), this, QDBusConnection::ExportAllSlots)) return;
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus_.interface()->registerService(QString::fromLatin1(kWindowBusName),
                                        QDBusConnectionInterface::DontQueueService,
                                        QDBusConnectionInterface::DontAllowReplacement);
  owned_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
  if (!owned_) bus_.unregisterObject(QString::fromLatin1(kWindowPath));
}

SingleInstance::~SingleInstance() {
  if (!owned_) return;
  bus_.unregisterObject(QString::fromLatin1(kWindowPath));
  bus_.interface()->unregisterService(QString::fromLatin1(kWindowBusName));
}

bool SingleInstance::HandOver(const QString& query, QDBusConnection bus) {
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kWindowBusName),
                                                     QString::fromLatin1(kWindowPath),
                                                     QString::fromLatin1(kWindowInterface),
                                                     QStringLiteral("Search"));
  call << query;
  // Events go on while waiting, so that a window of this very process can
  // answer. The wait ends by its own clock too: a reply the bus never reports
  // (neither the answer nor its timeout) must not hold a start for ever, so
  // the call is looked at every few milliseconds until the deadline.
  constexpr int kWaitMs = 5000;
  constexpr int kLookMs = 20;
  const QDBusPendingCall pending = bus.asyncCall(call, kWaitMs);
  const QDeadlineTimer deadline(kWaitMs);
  QEventLoop wait;
  QDBusPendingCallWatcher watcher(pending);
  QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &wait, &QEventLoop::quit);
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, &wait, [&] {
    if (pending.isFinished() || deadline.hasExpired()) wait.quit();
  });
  look.start(kLookMs);
  if (!pending.isFinished()) wait.exec(QEventLoop::ExcludeUserInputEvents);
  return pending.isFinished() && pending.reply().type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::Search(const QString& query) { emit searchRequested(query); }

}  // namespace tq
