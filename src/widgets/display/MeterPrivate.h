#pragma once

#include <optional>

// The gauge's state, shared by the property code (Meter.cpp) and the paint
// steps (MeterPaint.cpp). Not part of the public interface.

#include "gfx/Bitmap.h"
#include "widgets/display/Meter.h"

#include <QImage>

#include <cstdint>
#include <vector>

// The parts of a gauge's picture that do not move with the needles, kept
// between renders. The face (background, band, scale, labels, caption) lies
// under the needles; the overlay (rim cover, hub, opening edge, lamps, frame)
// lies over them and is kept with the runs of pixels it paints.
struct TMeterCache
{
    struct Run
    {
        int y, x1, x2; // x1 <= x < x2
    };
    // Bumped by every change to something the face or the overlay shows.
    std::uint64_t shape = 1;

    std::uint64_t faceShape = 0;
    QSize faceSize;
    QRgb faceFill = 0;
    QImage face;

    std::uint64_t overlayShape = 0;
    QSize overlaySize;
    bool overlayHigh = false, overlayLow = false;
    QImage overlay;
    std::vector<Run> overlayRuns;

    // The face with the overlay on it, and the pictures it was made from.
    QImage base;
    qint64 baseFace = 0, baseOverlay = 0;

    int faceRenders = 0;
    int overlayRenders = 0;
};

// What a new value changes in a picture: the needles' outlines and the limit
// lamps. A value whose pose equals the drawn one draws the same pixels.
struct TMeterPose
{
    QSize size;
    std::vector<QPoint> needle, needleSec;
    bool high = false, low = false;
    bool operator==(const TMeterPose &) const = default;
};

struct TMeter::Private
{
    int anchorSize = 24;
    bool anchorCovered = true;
    QString anchorImage;
    QString backGroundImg;
    TBkgFill bkgndFillMode = TBkgFill::bfSimple;
    QString caption;
    TColor colorBakG = clWhite;
    TColor colorCover = clBtnFace;
    TColor colorScale = clNavy;
    TColorScheme colorScheme = TColorScheme::csBWG;
    TColor colorSclBkLow = clLime;
    TColor colorSclBkNorm = 0x0080FF; // orange
    TColor colorSclBkHigh = clRed;
    TFont font;
    bool parentFont = true;
    TFont fontCaption;
    TFrameStyle frameStyle = TFrameStyle::fsRaised;
    bool limWatchHighOn = true;
    bool limWatchLowOn = true;
    TColor limWatchActColor = clRed;
    TColor limWatchPsvColor = clGray;
    double thresholdLow = 0.0;
    double thresholdHigh = 1.0;
    double meterMinValue = 0.0;
    double meterMaxValue = 1.0;
    int meterDecPlaces = 1;
    int meterNrTicks = 3;
    TMeterLayout meterLayout = TMeterLayout::mlCirc90;
    bool meterShortTicks = true;
    bool meterScaleLine = true;
    TNeedleLayout *needle = nullptr;    // owned through the QObject tree
    TNeedleLayout *needleSec = nullptr; // owned through the QObject tree
    int rimBottom = 10;
    int rimTop = 8;
    int rimSide = 10;
    double scaleBkWidth = 0.0;
    bool scaleBkVisible = false;
    bool scaleVisible = true;
    double value = 0.0;
    double valueSec = 0.0;

    QString hint;
    bool showHint = false;
    bool parentShowHint = true;

    bool limHighActive = false;
    bool limLowActive = false;
    TColor schemeShadowColor = clGray;
    TColor schemeHighlightColor = clWhite;

    TBitmap backgroundBitmap{10, 10};
    TBitmap anchorBitmap{10, 10};
    TBitmap anchorMask{10, 10};

    mutable TMeterCache cache;
    // What the needles and lamps of the last picture were drawn from.
    mutable std::optional<TMeterPose> drawnPose;
};
