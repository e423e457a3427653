#pragma once

#include <vector>

#include "Canvas.h"
#include "IndexedPicture.h"
#include "Shape.h"

// Collects the finished pictures by resource number, turning painted canvases
// into palette pictures of the depth each resource is stored with.
namespace artgen {

struct Artwork {
    int id;
    bool icon;  // icons and bitmaps are numbered separately
    IndexedPicture picture;
};

class ArtBook {
  public:
    // A sprite image on the near-black (8-bit) or black (4-bit) background.
    void Image(int id, const Canvas& canvas, int bitsPerPixel);
    // A mask: black on the shape, white around it.
    void Mask(int id, const Shape& shape, int bitsPerPixel);
    // A picture drawn by copying (backdrop, panels): 8-bit, any colours.
    void Scene(int id, const Canvas& canvas);
    // A 16-colour icon picture on black.
    void Icon(int id, const Canvas& canvas);
    void Add(Artwork artwork) { items_.push_back(std::move(artwork)); }

    const std::vector<Artwork>& Items() const { return items_; }

  private:
    std::vector<Artwork> items_;
};

}  // namespace artgen
