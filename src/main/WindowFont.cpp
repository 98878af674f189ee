#include "WindowFont.h"

#include "Font.h"

QFont WindowFont()
{
    QFont f = TFont(QStringLiteral("MS Sans Serif"), -11).toQFont();
    f.setStretch(QFont::SemiCondensed);
    return f;
}
