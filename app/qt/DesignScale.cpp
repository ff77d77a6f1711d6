#include "app/qt/DesignScale.h"

#include <QFontMetricsF>

namespace nimbrel::gui {

DesignScale DesignScaleForFont(const QFont& font) {
    const QFontMetricsF metrics(font);
    return DesignScale::ForCharacter(metrics.averageCharWidth(), metrics.height());
}

} // namespace nimbrel::gui
