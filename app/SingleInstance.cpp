#include "app/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

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
  // Events go on while waiting, so that a window of this very process could
  // answer; a window that hangs is given up after a few seconds.
  constexpr int kWaitMs = 5000;
  const QDBusMessage reply = bus.call(call, QDBus::BlockWithGui, kWaitMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::Search(const QString& query) { emit searchRequested(query); }

}  // namespace tq
