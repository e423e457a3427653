#pragma once

#include <vector>

// A set of pixels: the silhouette of a sprite, the region of a part, or the
// black area of a mask. Shapes are built from spans, polygons and ellipses;
// polygons and ellipses take the pixels whose centre lies inside.
namespace artgen {

struct Point {
    float x;
    float y;
};

class Shape {
  public:
    Shape() = default;
    Shape(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool At(int x, int y) const;
    void Set(int x, int y, bool on);

    // Pixels x0..x1 (inclusive) of row y.
    void AddSpan(int y, int x0, int x1);
    void AddPolygon(const std::vector<Point>& points);
    void AddEllipse(float cx, float cy, float rx, float ry);
    void Add(const Shape& other);
    void Remove(const Shape& other);
    void Intersect(const Shape& other);

    // Inside, with at least one of its four neighbours outside.
    bool IsEdge(int x, int y) const;
    int Count() const;
    Shape Mirrored() const;
    // Top and bottom rows of the shape in column x, or false if it is empty.
    bool ColumnExtent(int x, int& top, int& bottom) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> bits_;
};

}  // namespace artgen
