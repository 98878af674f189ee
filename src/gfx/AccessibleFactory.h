#pragma once

#include <QAccessible>

// Registers an accessibility factory of one widget module with Qt, once for
// the whole run however many of the module's widgets are created.
void InstallAccessibleFactoryOnce(QAccessible::InterfaceFactory factory);
