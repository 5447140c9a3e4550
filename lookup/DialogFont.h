#pragma once
// The one font of every window: Liberation Sans at 10 pixels, built into the
// program, so that each text fits the fixed rectangle of its control on any
// machine.

#include <QDialog>
#include <QFont>

namespace tq {

inline constexpr int kDialogFontPixelSize = 10;

QFont DialogFont();

// The frame of the small modal dialogs (the city choice, the about box): a
// title bar with a close box, the dialog font, a fixed size in dialog units.
inline constexpr Qt::WindowFlags kSmallDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
void SetUpSmallDialog(QDialog& dialog, const QString& title, int widthUnits, int heightUnits);

}  // namespace tq
