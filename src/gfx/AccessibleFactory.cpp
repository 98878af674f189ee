#include "gfx/AccessibleFactory.h"

#include <algorithm>
#include <vector>

void InstallAccessibleFactoryOnce(QAccessible::InterfaceFactory factory)
{
    // Widgets are made on the GUI thread only, so no lock is needed.
    static std::vector<QAccessible::InterfaceFactory> installed;
    if (!factory || std::find(installed.begin(), installed.end(), factory) != installed.end())
        return;
    installed.push_back(factory);
    QAccessible::installFactory(factory);
}
