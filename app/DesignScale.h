#pragma once
// The forms' positions and sizes are drawn for an 8-point font whose average character is 5
// pixels wide and 13 high. A window maps those design units to pixels by how much larger its own
// font is, so columns, pictures and heights grow with the text they hold.
namespace nimbrel {

class DesignScale {
public:
    DesignScale() = default;
    // The factors of a window whose font's average character is this large (pixels): never
    // below 1, so a small font keeps the design.
    static DesignScale ForCharacter(double averageWidth, double height);

    int X(int designUnits) const;      // horizontal positions and widths
    int Y(int designUnits) const;      // vertical positions and heights
    int Square(int designUnits) const; // pictures, which keep their shape
    double SquareFactor() const;

private:
    DesignScale(double x, double y) : x_(x), y_(y) {}
    double x_ = 1.0;
    double y_ = 1.0;
};

} // namespace nimbrel
