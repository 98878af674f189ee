#pragma once

// Horizontal placement of a text in the space given to it.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
