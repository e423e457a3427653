#include "BackdropArt.h"

#include "BasePainter.h"
#include "GroundPainter.h"
#include "SkyPainter.h"

namespace artgen {

Canvas BackdropArt::Paint() {
    Canvas c(600, 400);
    SkyPainter::Paint(c);
    GroundPainter::Paint(c);
    BasePainter::Emperor(c);
    BasePainter::Rebel(c);
    return c;
}

}  // namespace artgen
