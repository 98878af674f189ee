#pragma once

#include "widgets/display/Meter.h"

// A gauge set up like the two on the main window: 153 x 137, 270 degrees, a
// thin red spearhead needle, no hub, no lamps, a lowered frame.
inline void setUpWindowGauge(TMeter &m, const QString &caption, double maxValue)
{
    m.beginLoading();
    m.resize(153, 137);
    m.setAnchorSize(24);
    m.setAnchorCovered(false);
    m.setBkgndFillMode(TBkgFill::bfSimple);
    m.setCaption(caption);
    m.setColorBakG(clWhite);
    m.setColorCover(clBtnFace);
    m.setColorScale(clNavy);
    m.setColorScheme(TColorScheme::csBWG);
    m.setFontCaption(TFont(QStringLiteral("MS Sans Serif"), -11, {}, clWindowText));
    m.setFrameStyle(TFrameStyle::fsLowered);
    m.setLimWatchHighOn(false);
    m.setLimWatchLowOn(false);
    m.setThresholdHigh(1);
    m.setMeterDecPlaces(0);
    m.setMeterNrTicks(3);
    m.setMeterLayout(TMeterLayout::mlCirc270);
    m.setMeterMaxValue(maxValue);
    TNeedleLayout needle;
    needle.setHeadSize(5);
    needle.setColorBody(clRed);
    needle.setColorOutline(clRed);
    m.setNeedleLayout(needle);
    m.setRimBottom(10);
    m.setRimTop(8);
    m.setRimSide(10);
    m.setScaleBkVisible(false);
    m.setScaleVisible(true);
    m.Loaded();
}
