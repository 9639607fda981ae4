// Build step: paints the costliest pictures once with the program's own artwork code and
// stores their raw pixels, which the program then reads at start instead of painting.
//   artgen OUTPUT_DIR

#include "artwork.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTPUT_DIR\n");
        return 2;
    }
    art::usePrerendered(false);
    const struct {
        const char* name;
        QPixmap picture;
    } pictures[] = {{"board", art::board(1.0)},
                    {"chooser", art::chooserPanel(1.0)},
                    {"tile", art::backgroundTile(1.0)}};
    for (const auto& [name, picture] : pictures) {
        QFile out(QString("%1/%2.raw").arg(argv[1], name));
        if (!out.open(QIODevice::WriteOnly) || out.write(art::rawPixels(picture)) < 0) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
