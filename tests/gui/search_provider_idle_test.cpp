// The desktop search provider's idle countdown starts when it serves (once
// its bus name is owned), never while it reads its data before: otherwise a
// slow start uses up the idle time and the provider quits before the call
// that D-Bus activation held back for it is answered.

#include <QSignalSpy>
#include <QTest>

#include "GuiTestSupport.h"
#include "desktop/SearchProvider.h"
#include "support/TestData.h"

class SearchProviderIdleTest : public QObject {
  Q_OBJECT

 private slots:
  void countsIdleTimeFromServingOnly() {
    const tq::test::TempDir dir;
    tq::test::WriteSampleData(dir.path());
    tq::SearchProvider provider(dir.path(), QStringLiteral("true"), 0);
    QSignalSpy idle(&provider, &tq::SearchProvider::Idle);
    provider.Results({QStringLiteral("937")});  // a call before serving changes nothing
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    QCOMPARE(idle.count(), 0);
    provider.Serve();
    QVERIFY(idle.wait());
  }
};

QTEST_MAIN(SearchProviderIdleTest)
#include "search_provider_idle_test.moc"
