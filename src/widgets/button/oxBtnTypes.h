#pragma once

// Enumerations of the graphic button.

#include <QFlags>

enum class ToxBtnStyle {
    bsAuto,
    bsWin31,
    bsWin95,
    bsInset,
    bsTarsel,
    bsSpeed,
    bsWin97,
    bsBorderless,
    bsShaped,
    bsWinXP,
    bsWinXPToolBtn
};

enum class ToxButtonType { oxbCommand, oxbToggle, oxbRepeat, oxbMenu, oxbCombo };

// The caption's 3-D effect.
enum class ToxFont3D { fsNone, fsNormal, fsRaised, fsInset, fsRidged, fsGrooved, fsShadow };

enum class ToxBorderColors { oxbCustomColor, oxbWinColor, oxbAutoColor, oxbAutoShade };

enum class ToxbOption : unsigned {
    oxbCacheImages = 1,
    oxbUsePalette = 2,
    oxbSmallIcons = 4,
    oxbNoPicEffects = 8
};
Q_DECLARE_FLAGS(ToxbOptions, ToxbOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(ToxbOptions)

enum class ToxVisualState { Up, Pressed, Latched, ArrowPressed };
