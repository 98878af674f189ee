#pragma once

#include <QColor>
#include <QRgb>

#include <cstdint>

// A 32-bit colour value. Its forms:
//  - plain colour 0x00BBGGRR (red in the low byte);
//  - system colour: top bit set, the palette index in the low byte;
//  - clNone 0x1FFFFFFF: "no colour", a colour property that is not set;
//  - shade colour: top byte 0x30, a relative colour that lightens or darkens
//    whatever lies beneath; only the graphic button knows how to resolve it.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;

inline constexpr TColor clNone = 0x1FFFFFFF;
// What reading a pixel outside the image gives.
inline constexpr TColor clInvalid = 0xFFFFFFFF;

inline constexpr bool IsSystemColor(TColor c) { return (c & 0x80000000u) != 0 && c != clInvalid; }
inline constexpr bool IsShadeColor(TColor c) { return (c >> 24) == 0x30; }
inline constexpr bool IsPlainColor(TColor c) { return (c >> 24) == 0; }

inline constexpr int GetRValue(TColor c) { return int(c & 0xFF); }
inline constexpr int GetGValue(TColor c) { return int((c >> 8) & 0xFF); }
inline constexpr int GetBValue(TColor c) { return int((c >> 16) & 0xFF); }
inline constexpr TColor RGBColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

// Plain colour <-> the image's pixel value (opaque).
inline constexpr QRgb PlainToRgb(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline constexpr TColor RgbToPlain(QRgb p) { return RGBColor(qRed(p), qGreen(p), qBlue(p)); }

// The one resolver. Plain colours map directly; system colours come from the
// application palette; clNone, shade colours and anything unknown give an
// invalid QColor, which the canvas treats as "draw nothing".
QColor ColorToQColor(TColor c);

// A plain or system colour as a plain colour (system colours resolved now);
// clNone and shade colours come back unchanged.
TColor ColorToRGB(TColor c);

inline TColor QColorToColor(const QColor &c) { return RGBColor(c.red(), c.green(), c.blue()); }
