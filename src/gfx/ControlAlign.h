#pragma once

#include <QFlags>
#include <QRect>
#include <QSize>

// Where a control docks inside its parent.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Which parent edges a control keeps its distance to when the parent resizes.
enum class TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

// The bounds of a docked control in a parent of the given size (its own
// height for top/bottom, width for left/right).
QRect AlignedBounds(TAlign align, const QRect &bounds, const QSize &parent);

// The bounds of an anchored control after its parent went from oldParent to
// newParent: anchored to both opposite edges it stretches, to the far edge
// only it moves, to neither it keeps its relative place.
QRect AnchoredBounds(TAnchors anchors, const QRect &bounds, const QSize &oldParent, const QSize &newParent);
