#include "ResourceTestSupport.h"

#include "ships/ShipSpriteSet.h"

namespace qx::restest {

std::vector<std::pair<int, int>> DrawnPairs() {
    std::vector<std::pair<int, int>> pairs;
    for (Side side : {Side::Emperor, Side::Rebel}) {
        for (int facing = 0; facing < 2; ++facing) {
            for (int frame = 0; frame < 3; ++frame) {
                pairs.emplace_back(ShipSpriteSet::ShipSpriteId(side, facing, frame),
                                   ShipSpriteSet::ShipMaskId(side, facing, frame));
                // A hit picture is drawn with whichever flying mask is current.
                for (int variant = 0; variant < 3; ++variant)
                    pairs.emplace_back(ShipSpriteSet::HitSpriteId(side, facing, variant),
                                       ShipSpriteSet::ShipMaskId(side, facing, frame));
            }
        }
        for (int direction = 0; direction < 2; ++direction)
            for (int slot = 0; slot < 6; slot += 2)
                pairs.emplace_back(ShipSpriteSet::ShotSpriteId(side, direction, slot),
                                   ShipSpriteSet::ShotSpriteId(side, direction, slot + 1));
    }
    for (int rock : {207, 212, 213, 214, 215}) pairs.emplace_back(rock, 208);
    return pairs;
}

}  // namespace qx::restest
