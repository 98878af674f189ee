#include <QApplication>
#include <QLocale>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Widget tests never need a display.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
