#pragma once

#include <QString>

class QAccessibleInterface;
class TMeter;

// The needle's value as a screen reader reads it: as precise as the scale's
// labels ("2346" on a scale without decimals).
QString MeterValueText(const TMeter &meter);

// The dial gauge as assistive technology sees it: a read-only dial named by
// its caption, whose value is the needle's value within the scale's range. Each change
// of the value it reads is sent as one value-change event.
QAccessibleInterface *NewMeterAccessible(TMeter *meter);
