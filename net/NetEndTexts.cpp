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

}  // namespace qx::net
