#pragma once

#include <QFont>

// The windows' font: the small sans-serif face at height -11 (13-pixel line).
// Its condensed cut, where installed, keeps the captions within the widths
// the layout was drawn for.
QFont WindowFont();

// The face of the edit boxes and their captions: Liberation Sans Narrow at
// height -11. Measured against the condensed window face it sets "0.8130" in
// 28 instead of 33 pixels and "Dynamic Load Rating (lbf)  Cr" in 125 instead
// of 146, so the layout's 33-pixel boxes show their values whole and the
// captions stay clear of the group frames.
QFont NarrowFont();
