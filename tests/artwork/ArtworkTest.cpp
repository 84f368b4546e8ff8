#include "artwork/Artwork.h"

#include <gtest/gtest.h>

namespace qinglan::artwork {
namespace {

constexpr PanelIcon kAllIcons[] = {PanelIcon::Pause, PanelIcon::Play, PanelIcon::Stop,
                                   PanelIcon::Previous, PanelIcon::Next};

// Counts pixels that are nearly opaque in a square of `half` pixels around the centre.
int opaqueNearCentre(const QImage& image, int half) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QPoint c = argb.rect().center();
    int count = 0;
    for (int y = c.y() - half; y <= c.y() + half; ++y)
        for (int x = c.x() - half; x <= c.x() + half; ++x)
            if (qAlpha(argb.pixel(x, y)) > 200) ++count;
    return count;
}

TEST(ArtworkPanelIcons, HaveTheAskedSizeAreOpaqueInTheMiddleAndPressedDiffers) {
    for (PanelIcon icon : kAllIcons) {
        SCOPED_TRACE(static_cast<int>(icon));
        const QImage normal = panelIcon(icon, false).toImage();
        const QImage pressed = panelIcon(icon, true).toImage();
        EXPECT_EQ(normal.size(), QSize(56, 50));
        EXPECT_EQ(pressed.size(), QSize(56, 50));
        EXPECT_GT(opaqueNearCentre(normal, 8), 200);
        EXPECT_GT(opaqueNearCentre(pressed, 8), 200);
        EXPECT_NE(normal, pressed);
        // Corners stay see-through so the round button sits on the panel's own background.
        EXPECT_EQ(qAlpha(normal.pixel(0, 0)), 0);
        EXPECT_EQ(panelIcon(icon, false, {28, 25}).size(), QSize(28, 25));
    }
}

TEST(ArtworkPanelIcons, GlyphsDifferFromEachOther) {
    for (PanelIcon a : kAllIcons) {
        for (PanelIcon b : kAllIcons) {
            if (a == b) continue;
            EXPECT_NE(panelIcon(a, false).toImage(), panelIcon(b, false).toImage())
                << static_cast<int>(a) << " vs " << static_cast<int>(b);
        }
    }
}

TEST(ArtworkPanelIcons, EmptySizeGivesNullPixmap) {
    EXPECT_TRUE(panelIcon(PanelIcon::Play, false, {0, 0}).isNull());
}

TEST(ArtworkLogo, Is256SquareTransparentAtCornersAndDrawnInTheMiddle) {
    const QImage logo = logoImage();
    ASSERT_EQ(logo.size(), QSize(256, 256));
    for (QPoint corner : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 255), QPoint(255, 255)})
        EXPECT_EQ(qAlpha(logo.pixel(corner)), 0) << corner.x() << "," << corner.y();
    EXPECT_GT(opaqueNearCentre(logo, 20), 1000);
}

TEST(ArtworkTrayIcon, OffersEverySizeAndEachIsDrawn) {
    const QIcon icon = trayIcon();
    for (int side : {16, 22, 24, 32, 48, 64}) {
        SCOPED_TRACE(side);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side)));
        const QImage image = icon.pixmap(QSize(side, side)).toImage();
        EXPECT_EQ(image.size(), QSize(side, side));
        EXPECT_GT(opaqueNearCentre(image, side / 8), 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

} // namespace
} // namespace qinglan::artwork
