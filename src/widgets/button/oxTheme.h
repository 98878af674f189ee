#pragma once

#include <QRect>
#include <QString>

class QImage;

// A visual-theme engine the themed bevel styles can draw through. Without
// one (the default) no theme is active and the themed styles fall back to
// the classic ones.
class IoxThemeEngine
{
public:
    virtual ~IoxThemeEngine() = default;
    // Whether a theme class ("Button", "Toolbar") can be opened now.
    virtual bool CanOpen(const QString &themeClass) const = 0;
    // Draw part in state into r; false when the class could not be opened.
    virtual bool DrawPart(QImage &img, const QString &themeClass, int part, int state, const QRect &r) = 0;
};

// The engine in use, or null for "no theme". Not owned.
IoxThemeEngine *oxThemeEngine();
void SetOxThemeEngine(IoxThemeEngine *engine);
bool ThemesActive();

// Whether flat buttons are preferred (fixed at start-up; false here, since
// the platform gives no such hint). Tests may change it.
bool FlatLookPreferred();
void SetFlatLookPreferred(bool flat);
