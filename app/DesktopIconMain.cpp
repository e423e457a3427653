// quarnex-icons: writes the small desktop icons drawn from the game's 32 px
// icon art (the art generator paints the larger ones at their sizes).
//
//   quarnex-icons DIR NAME   writes DIR/hicolor/<n>x<n>/apps/NAME.png, n <= 48
#include <QDir>
#include <QString>
#include <cstdio>

#include "app/DesktopIcon.h"
#include "gfx/ResourceLibrary.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quarnex-icons DIR NAME\n");
        return 2;
    }
    const qx::Surface art = qx::LoadIconResource(DesktopIcon::kArtIcon);
    for (const int size : DesktopIcon::kSmallSizes) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(argv[1]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, argv[2]);
        if (!QDir().mkpath(folder) || !DesktopIcon::Render(art, size).save(file, "PNG")) {
            std::fprintf(stderr, "quarnex-icons: cannot write %s\n", qUtf8Printable(file));
            return 1;
        }
    }
    return 0;
}
