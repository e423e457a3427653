#include "net/NetEndTexts.h"

// Marks each text for the desktop's translation tool, which reads this file
// too (under the desktop's context for them); here it is the text itself.
#define QT_TRANSLATE_NOOP(context, text) text

namespace qx::net {

const char* EndText(PeerEnd end, bool hosting) {
    switch (end) {
        case PeerEnd::Desync:
            return QT_TRANSLATE_NOOP("NetPlayController",
                                     "Hry na obou pocitacich se rozesly v tiku %1.");
        case PeerEnd::Unreachable:
            return hosting
                       ? QT_TRANSLATE_NOOP("NetPlayController", "K teto hre se nikdo nepripojil.")
                       : QT_TRANSLATE_NOOP("NetPlayController",
                                           "Soupere se nepodarilo zastihnout.");
        case PeerEnd::Full:
            return QT_TRANSLATE_NOOP("NetPlayController",
                                     "Na pocitaci %1 uz se hraje s jinym souperem.");
        case PeerEnd::OtherVersion:
            return QT_TRANSLATE_NOOP("NetPlayController", "Souper ma jinou verzi hry.");
        case PeerEnd::Silent:
            return QT_TRANSLATE_NOOP("NetPlayController",
                                     "Souper neodpovida. Sitova hra skoncila.");
        case PeerEnd::Garbled:
            return QT_TRANSLATE_NOOP(
                "NetPlayController",
                "Od soupere prichazeji jen nesmyslne zpravy. Sitova hra skoncila.");
        case PeerEnd::Refused:
            return QT_TRANSLATE_NOOP(
                "NetPlayController",
                "Souperuv pocitac odmitl zpravy tohoto pocitace. Sitova hra skoncila.");
        case PeerEnd::Left:
            return QT_TRANSLATE_NOOP("NetPlayController", "Souper ukoncil sitovou hru.");
        case PeerEnd::ServerSilent:
        case PeerEnd::ServerLost:
            return QT_TRANSLATE_NOOP("NetPlayController",
                                     "Spojeni se serverem se preruslo. Sitova hra skoncila.");
        case PeerEnd::Done:
        case PeerEnd::Quit:
        case PeerEnd::None:
            break;
    }
    return nullptr;
}

const char* WatchEndText(PeerEnd end) {
    switch (end) {
        case PeerEnd::Done:
        case PeerEnd::Left:
            return QT_TRANSLATE_NOOP("ServerWatch", "Hra skoncila, prenos ze serveru je u konce.");
        case PeerEnd::Garbled:
        case PeerEnd::Desync:
            return QT_TRANSLATE_NOOP(
                "ServerWatch", "Ze serveru prichazeji nesmyslne zpravy. Sledovani hry skoncilo.");
        default:
            return QT_TRANSLATE_NOOP("ServerWatch",
                                     "Spojeni se serverem se preruslo. Sledovani hry skoncilo.");
    }
}

const char* RefusalText(MatchError error) {
    switch (error) {
        case MatchError::UnknownRoom:
            return QT_TRANSLATE_NOOP("ServerPlay", "Hra s kodem %1 neexistuje. Zkontrolujte kod.");
        case MatchError::RoomFull:
            return QT_TRANSLATE_NOOP("ServerPlay", "Ve hre s kodem %1 uz hraji dva hraci.");
        case MatchError::Throttled:
            return QT_TRANSLATE_NOOP(
                "ServerPlay",
                "Z tohoto pocitace prislo prilis mnoho pokusu. Zkuste to prosim pozdeji.");
        case MatchError::ServerFull:
            return QT_TRANSLATE_NOOP("ServerPlay", "Server je plny. Zkuste to prosim pozdeji.");
        case MatchError::NotWatchable:
            return QT_TRANSLATE_NOOP("ServerPlay",
                                     "Hra s kodem %1 je prilis dlouha, server ji nema celou.");
        case MatchError::BadName:
            return QT_TRANSLATE_NOOP("ServerPlay",
                                     "Server jmeno odmitl: 1 az 20 znaku, bez neviditelnych.");
        case MatchError::BadRequest:
            break;
    }
    return QT_TRANSLATE_NOOP("ServerPlay", "Server zadosti nerozumel (ma jinou verzi?).");
}

const char* RoomEndText(const RoomEnd& end) {
    using Cause = RoomEnd::Cause;
    switch (end.cause) {
        case Cause::Game:
            if (end.game == PeerEnd::Quit) return nullptr;  // the player left: nothing to say
            return end.spectating ? WatchEndText(end.game) : EndText(end.game, end.hosting);
        case Cause::Refused:
            return RefusalText(end.refusal);
        case Cause::BadCode:
            return QT_TRANSLATE_NOOP("ServerPlay", "'%1' neni kod hry (kod ma 8 pismen a cislic).");
        case Cause::Unreachable:
            return QT_TRANSLATE_NOOP("ServerPlay", "Server %1 se nepodarilo zastihnout.");
        case Cause::NoAnswer:
            return QT_TRANSLATE_NOOP("ServerPlay", "Server %1 neodpovida.");
        case Cause::Closed:
            return QT_TRANSLATE_NOOP("ServerPlay", "Server %1 ukoncil spojeni.");
        case Cause::None:
            break;
    }
    return nullptr;
}

const char* NamesText() {
    return QT_TRANSLATE_NOOP("ServerPlay", "%1 (imperator) proti %2 (povstalec)");
}

const char* NoNameText() {
    return QT_TRANSLATE_NOOP("ServerPlay", "bez jmena");
}

const char* ClosingText() {
    return QT_TRANSLATE_NOOP("ServerPlay", "server se vypina, hra muze bezet jeste nejvyse %1 s");
}

std::string RefusalEnglish(MatchError error) {
    switch (error) {
        case MatchError::UnknownRoom:
            return "the server knows no room with this code";
        case MatchError::RoomFull:
            return "the room is full (both sides are taken, or its game is over)";
        case MatchError::Throttled:
            return "the server refused: too many attempts from this address, try again later";
        case MatchError::BadRequest:
            return "the server did not understand the request";
        case MatchError::ServerFull:
            return "the server is full: it holds as many rooms as it may, try again later";
        case MatchError::NotWatchable:
            return "the room's game is too long for the server to keep: it cannot be watched";
        case MatchError::BadName:
            return "the server refused the name: 1 to 20 letters, no control or invisible "
                   "characters";
    }
    return "the server refused";
}

}  // namespace qx::net
