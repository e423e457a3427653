#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gfx/ResourceLibrary.h"

// One picture compiled into the executable (the table is generated from res/).
namespace qx {

struct EmbeddedResource {
    ResourceKind kind;
    int id;
    const uint8_t* data;
    size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

// Every resource the game carries. The desktop and the tools link the table
// generated from res/; the browser build links the art generator instead,
// which paints the same pictures (the same bytes) on the first call, so the
// page's download carries the painting code rather than the pixels.
std::span<const EmbeddedResource> EmbeddedResources();

}  // namespace qx
