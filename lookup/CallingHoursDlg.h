#pragma once
// "Calling Hours": the local hours in which a place may be called, as two
// times of day (9:00 or 09:00; 24:00 as the end). What is wrong with the
// times typed is said under them as they are typed, and OK stays off until
// both make a window: the dialog never closes on a mistake, and nothing
// typed is lost. Enter confirms, Escape or Cancel changes nothing.

#include <QDialog>
#include <optional>

#include "time/LocalTime.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {

class CCallingHoursDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCallingHoursDlg(const CallingHours& hours, QWidget* parent = nullptr);

  // The hours typed; nothing while they make no window.
  std::optional<CallingHours> GetCallingHours() const { return hours_; }

 private:
  void Validate();

  QLineEdit* editFrom = nullptr;
  QLineEdit* editTo = nullptr;
  QLabel* lblProblem = nullptr;
  QPushButton* btnOK = nullptr;
  std::optional<CallingHours> hours_;
};

}  // namespace tq
