#pragma once

#include <QImage>
#include <QRect>

// The smallest rectangle that holds every pixel in which two pictures differ:
// empty when they are the same, the whole of `after` when their size or
// format differs or either is null. Lets a control that built a new picture
// send only what changed to the screen.
QRect ChangedRect(const QImage &before, const QImage &after);
