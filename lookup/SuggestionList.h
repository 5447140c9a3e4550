#pragma once
// The places suggested while a place is typed, in a list that opens under
// the input field. The field keeps the keyboard focus throughout: Down and
// Up are the only keys that change the active entry (from none, Down takes
// the first; Up from the first goes back to none), Enter takes the active
// entry, Escape and Tab close the list, and a click takes the entry under
// the pointer. Typing goes on in the field and makes the list anew with no
// entry active.
//
// To assistive technology the list is the field's controlled list
// (CONTROLLER_FOR on the field); the active entry is reported focused, and
// when the list closes or its entry stops being active the field is
// reported focused again, so that a screen reader follows the keyboard.

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <functional>

class QLineEdit;

namespace tq {

class SuggestionList : public QListWidget {
  Q_OBJECT

 public:
  // `suggest` gives the places for the text typed so far (none: the list
  // stays closed).
  SuggestionList(QLineEdit* field, QWidget* parent,
                 std::function<QStringList(const QString&)> suggest);

  // The entry that Enter takes; empty when none is active.
  QString Active() const;
  // Closes the list; the field is reported focused again when an entry was.
  void Close();

 signals:
  // An entry taken by Enter or a click; the list is closed by then.
  void taken(const QString& place);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The field's text was edited by the user: the list anew, none active.
  void OnFieldEdited(const QString& text);
  void Open(const QStringList& places);
  // Makes `row` active (-1: none) and tells assistive technology.
  void SetActive(int row);
  void ReportFieldFocused();
  void Place();

  QLineEdit* field_;
  std::function<QStringList(const QString&)> suggest_;
  int active_ = -1;
};

}  // namespace tq
