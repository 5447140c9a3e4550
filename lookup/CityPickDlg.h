#pragma once
// "Matching Cities": asks which of several places a typed city name meant.
// The candidates ("Springfield, Illinois", ...) appear the most populous
// first, the first one selected, each with its population and area codes
// beside it; OK, Enter or a double-click confirms the selected one, Cancel or
// Escape gives no answer.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lookup/SearchFlow.h"

class QListWidget;
class QPushButton;

namespace tq {

// Room in a row of the list: before and after the texts, and between the
// place and its figures.
inline constexpr int kCityPickTextMargin = 4;
inline constexpr int kCityPickGap = 12;

class CCityPickDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCityPickDlg(QWidget* parent = nullptr);

  // The candidates, in code page 1252; called once, before the dialog runs.
  // Texts alone are shown without figures.
  void SetChoices(const std::vector<std::string>& choices);
  void SetCityChoices(const std::vector<CityChoice>& choices);
  // The confirmed candidate; empty unless the dialog ended with OK.
  std::string GetSelection() const { return strSelection; }
  // The place of the confirmed candidate; -1 without one (or for a text alone).
  std::int32_t GetSelectedCityId() const { return iSelectedCityId; }

  // Runs the dialog, or answers it at once with the answer set for it.
  int exec() override;

  // For tests: the next dialog that runs is not shown but answered at once,
  // with OK on the entry reading `pick` (the preselected entry when `pick` is
  // empty), or with Cancel.
  static void setNextAnswer(QDialog::DialogCode answer, const QString& pick = QString());

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnInitDialog();
  void OnOK();

  QPushButton* btnOK;
  QPushButton* btnCancel;
  QListWidget* listCities;
  std::vector<CityChoice> arrChoices;
  std::vector<CityChoice> shownChoices_;
  std::string strSelection;
  std::int32_t iSelectedCityId = -1;
  bool bInitialized = false;
};

// The window's side of the city choice: one modal CCityPickDlg per question.
class CCityPickChooser : public CityChooser {
 public:
  explicit CCityPickChooser(QWidget* parent) : parent_(parent) {}
  CityChoiceReply ChooseCity(const std::vector<CityChoice>& choices) override;

 private:
  QWidget* parent_;
};

}  // namespace tq
