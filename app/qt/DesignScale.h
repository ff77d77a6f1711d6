#pragma once
// The design scale of a window, from the font it shows its text in.
#include "app/DesignScale.h"

#include <QFont>

namespace nimbrel::gui {

DesignScale DesignScaleForFont(const QFont& font);

} // namespace nimbrel::gui
