#include "game/Combat.h"

#include <cstdlib>

#include "gfx/EraseFromBackdrop.h"
#include "panel/EnergyPanel.h"

namespace qx {
namespace {

void Erase(DrawSink* sink, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (sink) sink->Draw(DrawOp::Erase(EraseBox(x, y, w, h)));
}

bool HasLeftScene(const Shot& shot, int32_t ownerEnergy) {
    return ownerEnergy <= -50 || shot.y <= 40 || shot.y >= 370 ||
           shot.prevX >= kArenaWidth + shot.width || shot.prevX <= -shot.width;
}

// The shooter's live shots against the target; shots that hit or left the
// scene are erased and freed. True when the target lost energy.
bool ShotsAgainstShip(Ship& shooter, Ship& target, Facing facing, Random& rng, DrawSink* sink) {
    bool tookEnergy = false;
    for (int i = 0; i < Ship::kShotCount; ++i) {
        const Shot shot = shooter.Shots()[i];
        if (!shot.IsActive()) continue;
        const int32_t across = std::abs(shot.x - target.X());
        const int32_t upright = std::abs(shot.y - target.Y());
        const bool hit = across <= shot.width + 25 && upright <= shot.height + 10;
        if (hit && target.Energy() > 0) {
            const int32_t damage = shot.damageX + shot.damageY - across - upright;
            target.TakeDamage(damage, facing, rng.RandomBelow(3));
            tookEnergy = true;
        }
        if (hit || HasLeftScene(shot, shooter.Energy())) {
            Erase(sink, shot.prevX, shot.prevY, shot.width, shot.height);
            shooter.RemoveShot(i);
        }
    }
    return tookEnergy;
}

// The rock striking the ship (a new rock replaces it), then the ship's shots
// striking the rock. True when the ship lost energy.
bool MeteorAgainstShip(Meteor& meteor, Ship& ship, Facing facing, Random& rng, DrawSink* sink) {
    bool tookEnergy = false;
    const int32_t distX = std::abs(meteor.X() - ship.X());
    const int32_t distY = std::abs(meteor.Y() - ship.Y());
    if (distX <= meteor.Width() + 25 && distY <= meteor.Height() + 10) {
        if (ship.Energy() > 0) {
            const int32_t damage = meteor.DamageX() + meteor.DamageY() - distX - distY;
            ship.TakeDamage(damage, facing, rng.RandomBelow(3));
            tookEnergy = true;
        }
        Erase(sink, meteor.PrevX(), meteor.PrevY(), meteor.Width(), meteor.Height());
        meteor.Respawn(rng);
    }
    // Every slot is tested, free ones too: a free slot sits at x 700, which
    // no rock still in the scene reaches.
    for (int i = 0; i < Ship::kShotCount; ++i) {
        const Shot shot = ship.Shots()[i];
        const bool strikes = std::abs(meteor.X() - shot.x) <= shot.width / 2 + meteor.Width() &&
                             std::abs(meteor.Y() - shot.y) <= shot.height / 2 + meteor.Height();
        if (!strikes) continue;
        Erase(sink, shot.prevX, shot.prevY, shot.width, shot.height);
        ship.RemoveShot(i);
        meteor.TakeShotHit();
    }
    return tookEnergy;
}

int32_t NotBelowZero(int32_t energy) {
    return energy > 0 ? energy : 0;
}

}  // namespace

void ResolveCombat(GameState& state, DrawSink* sink, bool forceBarRedraw) {
    Ship& emperor = state.emperor;
    Ship& rebel = state.rebel;
    const Facing facing = emperor.X() > rebel.X() ? Facing::EmperorRight : Facing::EmperorLeft;
    bool hit = ShotsAgainstShip(rebel, emperor, facing, state.rng, sink);
    hit = MeteorAgainstShip(state.meteor, emperor, facing, state.rng, sink) || hit;
    hit = ShotsAgainstShip(emperor, rebel, facing, state.rng, sink) || hit;
    hit = MeteorAgainstShip(state.meteor, rebel, facing, state.rng, sink) || hit;
    if ((hit || forceBarRedraw) && sink) {
        EnergyPanel::DrawEnergyBar(*sink, NotBelowZero(emperor.Energy()),
                                   NotBelowZero(rebel.Energy()));
    }
}

}  // namespace qx
