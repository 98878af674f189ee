#include "ui/form/WindowFont.h"

#include "gfx/Font.h"

QFont WindowFont()
{
    QFont f = TFont(QStringLiteral("MS Sans Serif"), -11).toQFont();
    f.setStretch(QFont::SemiCondensed);
    return f;
}

QFont NarrowFont()
{
    QFont f = TFont(QStringLiteral("Liberation Sans Narrow"), -11).toQFont();
    // Set, so the window's semi-condensed stretch is not inherited: asked
    // for a stretch, the font matcher leaves the narrow face.
    f.setStretch(QFont::AnyStretch);
    return f;
}
