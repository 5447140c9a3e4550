#pragma once
// "About Telquest Pro": the icon, the version and the month of the data.

#include <QDialog>

namespace tq {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tq
