#pragma once

#include "gfx/Color.h"
#include "widgets/button/oxBtnTypes.h"

class QImage;

// A box with exclusive right and bottom edges, as the bevel rings use it.
struct ToxEdges
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// |levels| rings, each inside the previous one: the top-left half in
// topLeft, the bottom-right half in bottomRight. No colour skips a half; a
// shade colour shades the pixels under it, each pixel of a ring once. With
// levels > 0 R stays shrunk by the rings drawn; with levels < 0 it is restored.
void DrawBevel(QImage &img, ToxEdges &R, TColor topLeft, TColor bottomRight, int levels);

struct ToxBevelColors
{
    TColor Light = cl3DLight;
    TColor Highlight = clBtnHighlight;
    TColor Shadow = clBtnShadow;
    TColor DkShadow = cl3DDkShadow;
    TColor Frame = clWindowFrame; // outer ring of an emphasised bsWin95 button
};

struct ToxBevelState
{
    bool pressed = false;    // held down
    bool latched = false;    // a toggle whose Value is true
    bool emphasised = false; // focus or default look
    bool hot = false;
    bool enabled = true;
    bool designTime = false;
};

// The bevel of a classic style around F (nothing for the themed styles).
void DrawStyleBevel(QImage &img, const ToxEdges &F, ToxBtnStyle style, const ToxBevelState &s,
                    const ToxBevelColors &c);
