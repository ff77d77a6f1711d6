#include "app/DesignScale.h"

#include <algorithm>
#include <cmath>

namespace nimbrel {

namespace {

constexpr double DesignCharWidth = 5.0;
constexpr double DesignCharHeight = 13.0;

int Scaled(int designUnits, double factor) {
    return static_cast<int>(std::lround(designUnits * factor));
}

} // namespace

DesignScale DesignScale::ForCharacter(double averageWidth, double height) {
    return {std::max(1.0, averageWidth / DesignCharWidth),
            std::max(1.0, height / DesignCharHeight)};
}

int DesignScale::X(int designUnits) const {
    return Scaled(designUnits, x_);
}

int DesignScale::Y(int designUnits) const {
    return Scaled(designUnits, y_);
}

int DesignScale::Square(int designUnits) const {
    return Scaled(designUnits, SquareFactor());
}

double DesignScale::SquareFactor() const {
    return std::min(x_, y_);
}

} // namespace nimbrel
