// Build step: paints the costliest pictures once with the program's own artwork code and
// stores their raw pixels, which the program then reads at start instead of painting.
//   artgen OUTPUT_DIR

#include "artwork.h"
#include "boardgeometry.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTPUT_DIR\n");
        return 2;
    }
    art::usePrerendered(false);
    std::vector<std::pair<QString, QPixmap>> pictures = {{"board", art::board(1.0)},
                                                         {"chooser", art::chooserPanel(1.0)},
                                                         {"tile", art::backgroundTile(1.0)}};
    for (int value = 0; value <= 6; ++value)
        pictures.emplace_back(QString("die%1").arg(value), art::dieFace(value, 1.0));
    for (int frame = 0; frame < bg::geo::kCupFrames; ++frame)
        pictures.emplace_back(QString("cup%1").arg(frame), art::cup(frame, 1.0));
    for (const auto& [name, picture] : pictures) {
        QFile out(QString("%1/%2.raw").arg(QString::fromLocal8Bit(argv[1]), name));
        if (!out.open(QIODevice::WriteOnly) || out.write(art::rawPixels(picture)) < 0) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
