// AppIcon: the program's icon, the same one the desktop entry names, from
// the PNG sizes built into the program.
#pragma once

#include <QIcon>

namespace orvalen {

QIcon AppIcon();

}  // namespace orvalen
