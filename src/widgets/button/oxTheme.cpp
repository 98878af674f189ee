#include "widgets/button/oxTheme.h"

namespace {
IoxThemeEngine *g_engine = nullptr;
bool g_flatLook = false;
} // namespace

IoxThemeEngine *oxThemeEngine()
{
    return g_engine;
}

void SetOxThemeEngine(IoxThemeEngine *engine)
{
    g_engine = engine;
}

bool ThemesActive()
{
    return g_engine != nullptr;
}

bool FlatLookPreferred()
{
    return g_flatLook;
}

void SetFlatLookPreferred(bool flat)
{
    g_flatLook = flat;
}
