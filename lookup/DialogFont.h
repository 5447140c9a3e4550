#pragma once
// The one font of every window: Liberation Sans, built into the program, at
// the size of the user's font (10 pixels at the least), so that each text
// fits its control, whose size follows the font (DialogUnits.h).

#include <QDialog>
#include <QFont>

namespace tq {

// The size of the text at a window scale of 1.
inline constexpr int kDialogFontPixelSize = 10;
// The scale that the user's font asks for: its pixel size over 10, in
// tenths, and never below 1.
double UserFontScale();
// The dialog font at the window scale.
QFont DialogFont();

// The frame of the small modal dialogs (the city choice, the about box): a
// title bar with a close box, the dialog font, a fixed size in dialog units.
inline constexpr Qt::WindowFlags kSmallDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
void SetUpSmallDialog(QDialog& dialog, const QString& title, int widthUnits, int heightUnits);

}  // namespace tq
