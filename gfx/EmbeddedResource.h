#pragma once

#include <cstddef>
#include <cstdint>

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

}  // namespace qx
