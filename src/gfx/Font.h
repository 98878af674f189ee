#pragma once

#include "gfx/Color.h"

#include <QFlags>
#include <QFont>
#include <QFontMetrics>
#include <QString>

enum class TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

// A font description: face, height, character set, colour and style. A
// negative Height is the character height in pixels (-11 is 8 point at 96
// pixels per inch); a positive Height is the whole cell height. Orientation
// turns the text counterclockwise in tenths of a degree. Copying a font copies
// all of it.
class TFont
{
public:
    TFont() = default;
    TFont(const QString &name, int height, TFontStyles style = {}, TColor color = clWindowText)
        : Name(name), Height(height), Color(color), Style(style)
    {
    }

    QString Name = QStringLiteral("MS Sans Serif");
    int Height = -11;
    int Charset = 1; // the default character set; kept, not interpreted
    TColor Color = clWindowText;
    TFontStyles Style;
    int Orientation = 0;

    // Size in points at 96 pixels per inch (the sign rule of Height applies).
    int Size() const;
    void setSize(int points);

    bool operator==(const TFont &o) const = default;

    // The Qt font the canvas draws with: no antialiasing, pixel sized.
    // "MS Sans Serif" and its relatives become DejaVu Sans.
    QFont toQFont() const;
};

// The face actually used for a face name.
QString ResolveFontFace(const QString &name);

// The Qt font of a description and its metrics, built once per distinct face,
// height and style and kept (colour and orientation do not shape the glyphs).
// Rendering measures text many times per picture; building the font and its
// metrics anew each time was most of the cost. For the GUI thread only.
struct TResolvedFont {
    QFont Font;
    QFontMetrics Metrics; // both share their data with the cached copies
};
TResolvedFont ResolvedFont(const TFont &font);
// The advance of a text in a font, as its metrics give it; the last few
// texts measured in each font are remembered. For the GUI thread only.
int TextAdvance(const TFont &font, const QString &text);
