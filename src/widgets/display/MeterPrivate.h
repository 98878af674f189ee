#pragma once

// The gauge's state, shared by the property code (Meter.cpp) and the paint
// steps (MeterPaint.cpp). Not part of the public interface.

#include "Bitmap.h"
#include "Meter.h"

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
};
