#pragma once

#include "widgets/button/oxTheme.h"

// A theme engine that draws the themed bevels with the application's widget
// style. Not installed by default; SetOxThemeEngine(&engine) turns it on.
class ToxStyleTheme : public IoxThemeEngine
{
public:
    bool CanOpen(const QString &themeClass) const override;
    // Part 1 is the button face, part 2 the drop-down arrow. States: 1
    // normal, 2 hot, 3 pressed, 4 disabled, 5 default ("Button") or checked
    // ("Toolbar").
    bool DrawPart(QImage &img, const QString &themeClass, int part, int state, const QRect &r) override;
};
