#pragma once

// Registers the graphic button's accessibility interface (once; buttons call
// it themselves when they are created). Assistive technology then sees a
// push button, or a checkable toggle button checked while latched, named by
// its caption, with a press action that works like a click.
void InstallButtonAccessibility();
