#include "game/GameWait.h"

namespace qx {
namespace {

constexpr char kEndCaption[] = "End..";
constexpr char kEmperorLost[] = "Je konec imperatora! ";
constexpr char kEmperorLostEpilogue[] =
    " Vudce povstalcu Keldor se dostava do cela nove vlady a nici posledni zbytky privrzencu "
    "imperatora... ";
constexpr char kRebelLost[] = "Jednotky povstalcu jsou porazeny! ";
constexpr char kRebelLostEpilogue[] =
    " Pokracuje vlada imperatora Morvatehe I., ktery se tvrde msti ...";

}  // namespace

std::string GameWait::EndOfGameCaption() {
    return kEndCaption;
}

std::string GameWait::EndOfGameText() const {
    if (loser == Side::Emperor) return std::string(kEmperorLost) + "\n" + kEmperorLostEpilogue;
    return std::string(kRebelLost) + "\n" + kRebelLostEpilogue;
}

}  // namespace qx
