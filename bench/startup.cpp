// The window's start-up time: from the start of main to the first frame the
// lookup window has painted, with the maps shown and the shipped data loaded,
// on Qt's offscreen platform. Prints one line of milliseconds:
//   application, window (controls and data), first frame, total
//
//   QT_QPA_PLATFORM=offscreen telquest_startup     (scripts/bench.sh runs it)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <filesystem>

#include "lookup/LookupDlg.h"

namespace {

// Notes the first paint event of any widget; the frame is complete once the
// event loop has finished the update that carried it.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QElapsedTimer& clock) : clock_(clock) {}
  qint64 painted = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !armed_) {
      armed_ = true;
      QTimer::singleShot(0, this, [this] {
        painted = clock_.nsecsElapsed();
        QApplication::quit();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QElapsedTimer& clock_;
  bool armed_ = false;
};

double Millis(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  // The window reads its data files from the current directory.
  std::filesystem::current_path(std::filesystem::path(TELQUEST_SOURCE_DIR) / "res");
  QApplication application(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  FirstPaint firstPaint(clock);
  application.installEventFilter(&firstPaint);
  const qint64 applicationReady = clock.nsecsElapsed();

  tq::CLookupDlg window(1);
  const qint64 windowReady = clock.nsecsElapsed();
  window.show();
  QApplication::exec();
  if (firstPaint.painted < 0) return 1;
  std::printf("%.1f %.1f %.1f %.1f\n", Millis(applicationReady),
              Millis(windowReady - applicationReady), Millis(firstPaint.painted - windowReady),
              Millis(firstPaint.painted));
  return 0;
}
