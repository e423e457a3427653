# cmake -DOUTPUT=file.cpp -DRES_DIR=res -P Embed.cmake
file(GLOB BITMAPS ${RES_DIR}/bitmaps/*.bmp)
file(GLOB ICONS ${RES_DIR}/icons/*.bmp)
set(body "")
set(table "")
set(index 0)
foreach(kind IN ITEMS Bitmap Icon)
  if(kind STREQUAL "Bitmap")
    set(files ${BITMAPS})
  else()
    set(files ${ICONS})
  endif()
  foreach(file IN LISTS files)
    get_filename_component(id ${file} NAME_WE)
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND body "const uint8_t kData${index}[] = {${bytes}};\n")
    string(APPEND table "    {ResourceKind::${kind}, ${id}, kData${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from res/ by Embed.cmake. Do not edit.
#include \"gfx/EmbeddedResource.h\"

namespace qx {
namespace {
${body}}  // namespace

const EmbeddedResource kEmbeddedResources[] = {
${table}    {ResourceKind::Bitmap, 0, nullptr, 0},
};
const size_t kEmbeddedResourceCount = ${index};

std::span<const EmbeddedResource> EmbeddedResources() {
    return {kEmbeddedResources, kEmbeddedResourceCount};
}

}  // namespace qx
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
