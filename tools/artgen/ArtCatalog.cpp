#include "ArtCatalog.h"

#include <algorithm>

#include "BackdropArt.h"
#include "EmperorExplosion.h"
#include "HitArt.h"
#include "IconArt.h"
#include "MeteorArt.h"
#include "PanelArt.h"
#include "RebelExplosion.h"
#include "ShipArt.h"
#include "ShotArt.h"

namespace artgen {

std::vector<Artwork> ArtCatalog::PaintAll() {
    ArtBook book;
    book.Scene(127, BackdropArt::Paint());
    ShipArt::Add(book);
    EmperorExplosion::Add(book);
    RebelExplosion::Add(book);
    book.Add({162, false, IndexedPicture::Plain(50, 20, 4, 0xFFFFFF)});  // an all-clear mask
    HitArt::Add(book);
    ShotArt::Add(book);
    MeteorArt::Add(book);
    PanelArt::Add(book);
    IconArt::Add(book);
    std::vector<Artwork> items = book.Items();
    std::sort(items.begin(), items.end(), [](const Artwork& a, const Artwork& b) {
        return a.icon != b.icon ? b.icon : a.id < b.id;
    });
    return items;
}

}  // namespace artgen
