// One window process, on a private session bus (dbus-run-session): the
// first window owns the name, and a later start hands its query to it,
// which searches it and comes to the front; with no window there, or no bus,
// nothing takes it; a window that never answers is given up.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "app/LookupApp.h"
#include "app/SingleInstance.h"

using namespace tq::test;

// Holds the window's name and takes every query without ever answering.
class SilentWindow : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "io.github.telquest.Telquest.Window")

 public slots:
  void Search(const QString&, const QDBusMessage& message) {
    message.setDelayedReply(true);
    held_.push_back(message);
  }
  qsizetype Held() const { return held_.size(); }

 private:
  QList<QDBusMessage> held_;
};

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void aLaterStartHandsItsQueryToTheWindow() {
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    QDBusConnection later = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "later");
    QVERIFY(!tq::SingleInstance::HandOver("937", later));  // no window yet

    std::unique_ptr<SampleWindow> window = OpenSampleWindow();
    QVERIFY(window);
    tq::SingleInstance first;
    QVERIFY(first.Owned());
    tq::AttachSingleInstance(*window, first);
    tq::SingleInstance second(later);
    QVERIFY(!second.Owned());
    window->showMinimized();
    QVERIFY(tq::SingleInstance::HandOver("937", later));
    QCOMPARE(QueryText(*window), QString("937"));
    QCOMPARE(ListTexts(List(*window, "listLargestCity")), QStringList{"Dayton"});
    QVERIFY(!window->isMinimized());
    // Coming to the front alone, with no query.
    QVERIFY(tq::SingleInstance::HandOver(QString(), later));
    QCOMPARE(QueryText(*window), QString("937"));
  }

  void aWindowThatNeverAnswersIsGivenUp() {
    QDBusConnection owner = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "silent");
    SilentWindow silent;
    QVERIFY(owner.registerObject(QString::fromLatin1(tq::kWindowPath), &silent, QDBusConnection::ExportAllSlots));
    QVERIFY(owner.interface()->registerService(QString::fromLatin1(tq::kWindowBusName)).isValid());
    QDBusConnection later = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "later");
    QVERIFY(!tq::SingleInstance::HandOver("937", later));
    QCOMPARE(silent.Held(), 1);  // it reached the window, which kept silent
    owner.interface()->unregisterService(QString::fromLatin1(tq::kWindowBusName));
  }

  void withoutABusEveryStartIsItsOwnWindow() {
    QDBusConnection none = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none");
    tq::SingleInstance instance(none);
    QVERIFY(!instance.Owned());
    QVERIFY(!tq::SingleInstance::HandOver("937", none));
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_bus_test.moc"
