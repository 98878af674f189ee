#pragma once

#include <QFont>

// The windows' font: the small sans-serif face at height -11 (13-pixel line).
// Its condensed cut, where installed, keeps the captions within the widths
// the layout was drawn for.
QFont WindowFont();
