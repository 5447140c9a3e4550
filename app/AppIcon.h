#pragma once
// The program's icon in all the sizes that the resources hold.

#include <QIcon>

namespace tq {

QIcon AppIcon();

}  // namespace tq
