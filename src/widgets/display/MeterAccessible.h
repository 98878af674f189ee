#pragma once

class QAccessibleInterface;
class TMeter;

// The dial gauge as assistive technology sees it: a read-only dial named by
// its caption, whose value is the needle's value within the scale's range.
QAccessibleInterface *NewMeterAccessible(TMeter *meter);
