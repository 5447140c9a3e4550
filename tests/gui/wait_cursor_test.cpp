// The wait cursor: shown while a step runs, once for nested steps, and never
// left behind.

#include <QCursor>
#include <QGuiApplication>
#include <QTest>

#include "lookup/WaitCursor.h"

namespace {

bool WaitCursorShown() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor && cursor->shape() == Qt::WaitCursor;
}

}  // namespace

class WaitCursorTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheWaitCursorOnceForNestedStepsAndNeverLeavesIt() {
    {
      tq::WaitCursor waitCursor;
      {
        tq::BusyScope busy(&waitCursor);
        tq::BusyScope nested(&waitCursor);
        QVERIFY(WaitCursorShown());
      }
      QVERIFY(!QGuiApplication::overrideCursor());
      waitCursor.Begin();
      waitCursor.Begin();
    }
    QVERIFY(!QGuiApplication::overrideCursor());  // going away takes back what is shown
  }
};

QTEST_MAIN(WaitCursorTest)
#include "wait_cursor_test.moc"
