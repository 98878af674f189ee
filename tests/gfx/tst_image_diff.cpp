#include "gfx/ImageDiff.h"

#include <gtest/gtest.h>

TEST(ImageDiff, TheBoxOfTheChangedPixels)
{
    QImage a(30, 20, QImage::Format_RGB32);
    a.fill(Qt::white);
    QImage b = a;
    EXPECT_TRUE(ChangedRect(a, b).isEmpty()); // shared
    b.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_EQ(ChangedRect(a, b), QRect(0, 0, 1, 1));
    b.setPixel(29, 19, qRgb(1, 2, 3));
    EXPECT_EQ(ChangedRect(a, b), QRect(0, 0, 30, 20));
    QImage c = a.copy(); // equal pixels, not shared
    EXPECT_TRUE(ChangedRect(a, c).isEmpty());
    c.setPixel(7, 4, qRgb(0, 0, 0));
    c.setPixel(3, 9, qRgb(0, 0, 0));
    c.setPixel(12, 6, qRgb(0, 0, 0));
    EXPECT_EQ(ChangedRect(a, c), QRect(QPoint(3, 4), QPoint(12, 9)));
    EXPECT_EQ(ChangedRect(c, a), QRect(QPoint(3, 4), QPoint(12, 9)));
}

TEST(ImageDiff, AnythingNotComparableIsChangedWhole)
{
    QImage a(30, 20, QImage::Format_RGB32);
    a.fill(Qt::white);
    EXPECT_EQ(ChangedRect(QImage(), a), a.rect());
    EXPECT_TRUE(ChangedRect(a, QImage()).isEmpty());
    EXPECT_EQ(ChangedRect(a.copy(0, 0, 29, 20), a), a.rect());
    EXPECT_EQ(ChangedRect(a.convertToFormat(QImage::Format_ARGB32), a), a.rect());
    const QImage grey = a.convertToFormat(QImage::Format_Grayscale8);
    EXPECT_EQ(ChangedRect(grey, grey.copy()), grey.rect());
}
