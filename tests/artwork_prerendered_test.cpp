// The pictures painted at build time are exactly the ones the artwork code paints live.

#include "artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {
QImage live(QPixmap (*picture)(qreal)) {
    art::usePrerendered(false);
    QImage image = picture(1.0).toImage();
    art::usePrerendered(true);
    return image;
}
} // namespace

TEST(ArtworkPrerendered, StoredPicturesAreThePicturesPaintedLive) {
    for (auto picture : {&art::board, &art::chooserPanel, &art::backgroundTile}) {
        const QImage stored = picture(1.0).toImage();
        const QImage painted = live(picture);
        ASSERT_EQ(stored.size(), painted.size());
        EXPECT_EQ(stored.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  painted.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    for (int value = 0; value <= 6; ++value) {
        const QImage stored = art::dieFace(value, 1.0).toImage();
        art::usePrerendered(false);
        const QImage painted = art::dieFace(value, 1.0).toImage();
        art::usePrerendered(true);
        EXPECT_EQ(stored, painted) << "die " << value;
    }
    for (int frame = 0; frame < 4; ++frame) {
        const QImage stored = art::cup(frame, 1.0).toImage();
        art::usePrerendered(false);
        const QImage painted = art::cup(frame, 1.0).toImage();
        art::usePrerendered(true);
        EXPECT_EQ(stored, painted) << "cup frame " << frame;
    }
}

TEST(ArtworkPrerendered, OtherPixelRatiosArePaintedLive) {
    const QPixmap sharp = art::board(2.0);
    EXPECT_EQ(sharp.size(), art::board(1.0).size() * 2);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
}

TEST(ArtworkPrerendered, TheStoredPicturesAreBuiltIn) {
    for (const char* name : {"board", "chooser", "tile", "die6", "cup3"})
        EXPECT_TRUE(QFile::exists(QString(":/prerendered/%1.raw").arg(name))) << name;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
