#pragma once
// The one font of every window: Liberation Sans at 10 pixels, built into the
// program, so that each text fits the fixed rectangle of its control on any
// machine.

#include <QFont>

namespace tq {

inline constexpr int kDialogFontPixelSize = 10;

QFont DialogFont();

}  // namespace tq
