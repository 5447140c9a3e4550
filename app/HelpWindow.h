#pragma once
// The help of the program: its own HTML page, shown in a plain browser window
// that Escape closes.

#include <QTextBrowser>

namespace tq {

class CHelpWindow : public QTextBrowser {
  Q_OBJECT

 public:
  explicit CHelpWindow(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tq
