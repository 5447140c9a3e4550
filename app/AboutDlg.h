#pragma once
// "About Telquest Pro": the icon, the version and the month of the data.

#include <QDialog>

namespace tq {

inline constexpr char kProductVersionLine[] = "Telquest Pro 2.02.000";

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tq
