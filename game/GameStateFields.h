#pragma once

// The field order of a game state (included by GameState.h).
namespace qx {
namespace detail {

template <class Visit>
void VisitShip(const char* name, const Ship& s, Visit& visit) {
    visit(name, -1, "x", s.X());
    visit(name, -1, "y", s.Y());
    visit(name, -1, "prevX", s.PrevX());
    visit(name, -1, "prevY", s.PrevY());
    visit(name, -1, "targetX", s.TargetX());
    visit(name, -1, "targetY", s.TargetY());
    visit(name, -1, "shotDx", s.ShotDx());
    visit(name, -1, "computer", s.Computer() ? 1 : 0);
    visit(name, -1, "energy", s.Energy());
    visit(name, -1, "wins", s.Wins());
    visit(name, -1, "reload", s.Reload());
    visit(name, -1, "moved", s.Moved() ? 1 : 0);
    visit(name, -1, "fireRequest", static_cast<int32_t>(s.FireRequest()));
    const ShipLook& look = s.Look();
    visit(name, -1, "look.hit", look.hit ? 1 : 0);
    visit(name, -1, "look.facing", look.facing);
    visit(name, -1, "look.index", look.index);
    visit(name, -1, "look.maskFacing", look.maskFacing);
    visit(name, -1, "look.maskFrame", look.maskFrame);
    for (int i = 0; i < Ship::kShotCount; ++i) {
        const Shot& shot = s.Shots()[i];
        visit(name, i, "x", shot.x);
        visit(name, i, "y", shot.y);
        visit(name, i, "prevX", shot.prevX);
        visit(name, i, "prevY", shot.prevY);
        visit(name, i, "dx", shot.dx);
        visit(name, i, "dy", shot.dy);
        visit(name, i, "width", shot.width);
        visit(name, i, "height", shot.height);
        visit(name, i, "spriteIndex", shot.spriteIndex);
        visit(name, i, "maskIndex", shot.maskIndex);
        visit(name, i, "damageX", shot.damageX);
        visit(name, i, "damageY", shot.damageY);
    }
}

template <class Visit>
void VisitMeteor(const Meteor& m, Visit& visit) {
    const char* name = "meteor";
    visit(name, -1, "x", m.X());
    visit(name, -1, "y", m.Y());
    visit(name, -1, "prevX", m.PrevX());
    visit(name, -1, "prevY", m.PrevY());
    visit(name, -1, "dx", m.Dx());
    visit(name, -1, "dy", m.Dy());
    visit(name, -1, "width", m.Width());
    visit(name, -1, "height", m.Height());
    visit(name, -1, "damageX", m.DamageX());
    visit(name, -1, "damageY", m.DamageY());
    visit(name, -1, "hitsLeft", m.HitsLeft());
    visit(name, -1, "state", static_cast<int32_t>(m.State()));
    visit(name, -1, "frame", m.Frame());
    visit(name, -1, "frameTicks", m.FrameTicks());
}

}  // namespace detail

template <class Visit>
void VisitFields(const GameState& state, Visit&& visit) {
    visit("game", -1, "rng", static_cast<int64_t>(state.rng.State()));
    visit("game", -1, "tickCounter", state.tickCounter);
    visit("game", -1, "flightFrame", state.flightFrame);
    visit("game", -1, "timerRunning", state.timerRunning ? 1 : 0);
    detail::VisitShip("emperor", state.emperor, visit);
    detail::VisitShip("rebel", state.rebel, visit);
    detail::VisitMeteor(state.meteor, visit);
    visit("wait", -1, "what", static_cast<int32_t>(state.wait.what));
    visit("wait", -1, "resume", static_cast<int32_t>(state.wait.resume));
    visit("wait", -1, "loser", static_cast<int32_t>(state.wait.loser));
    visit("wait", -1, "facing", static_cast<int32_t>(state.wait.facing));
}

}  // namespace qx
