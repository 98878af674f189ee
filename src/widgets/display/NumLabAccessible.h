#pragma once

#include <QString>

class TNumLab;

// What assistive technology (screen readers) learns about the display
// widgets: a readout is static text named by its caption whose value is the
// number it shows with its unit; a dial gauge is a dial named by its caption
// whose value is the needle's.

// The readout's name: its accessible name when one is set, else its caption
// (left text) with runs of blanks made one, else its unit.
QString NumLabCaption(const TNumLab &readout);
// The number the readout shows, then a blank and its unit when it has one;
// empty while the readout is empty.
QString NumLabValueWithUnit(const TNumLab &readout);

// Registers the accessibility interfaces of the readout and the dial gauge
// (once; the widgets call it themselves when they are created).
void InstallDisplayAccessibility();
