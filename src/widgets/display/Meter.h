#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

#include "gfx/Color.h"
#include "widgets/display/DisplayTypes.h"
#include "gfx/Font.h"
#include "gfx/GraphicControl.h"
#include "widgets/display/MeterGeometry.h"
#include "widgets/display/MeterNeedle.h"

class TCanvas;
class TMeter;

// Called before each scale label is drawn. The handler may rewrite
// CurrentTickLabel; an empty text suppresses the label (the tick stays).
// ChartX/ChartY are the top-left corner of the label as first formatted.
using TmtBeforeDrawScaleLabelEvent = std::function<void(
    TMeter *Sender, TCanvas &Canvas, QString &CurrentTickLabel, int ChartX, int ChartY)>;

// Analogue dial gauge: a scale of 90..360 degrees with ticks and labels, an
// optional coloured band, a primary and a secondary needle, two limit lamps,
// a cover around the dial opening and a bevelled outer frame. Windowless: it
// paints its whole picture off-screen and copies it in one go.
class TMeter : public TGraphicControl
{
    Q_OBJECT
    Q_PROPERTY(int AnchorSize READ AnchorSize WRITE setAnchorSize)
    Q_PROPERTY(bool AnchorCovered READ AnchorCovered WRITE setAnchorCovered)
    Q_PROPERTY(QString AnchorImage READ AnchorImage WRITE setAnchorImage)
    Q_PROPERTY(QString BackGroundImg READ BackGroundImg WRITE setBackGroundImg)
    Q_PROPERTY(TBkgFill BkgndFillMode READ BkgndFillMode WRITE setBkgndFillMode)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(TColor ColorBakG READ ColorBakG WRITE setColorBakG)
    Q_PROPERTY(TColor ColorCover READ ColorCover WRITE setColorCover)
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE setColorScale)
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(TColor ColorSclBkLow READ ColorSclBkLow WRITE setColorSclBkLow)
    Q_PROPERTY(TColor ColorSclBkNorm READ ColorSclBkNorm WRITE setColorSclBkNorm)
    Q_PROPERTY(TColor ColorSclBkHigh READ ColorSclBkHigh WRITE setColorSclBkHigh)
    Q_PROPERTY(TFont FontCaption READ FontCaption WRITE setFontCaption)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE setFrameStyle)
    Q_PROPERTY(bool LimWatchHighOn READ LimWatchHighOn WRITE setLimWatchHighOn)
    Q_PROPERTY(bool LimWatchLowOn READ LimWatchLowOn WRITE setLimWatchLowOn)
    Q_PROPERTY(TColor LimWatchActColor READ LimWatchActColor WRITE setLimWatchActColor)
    Q_PROPERTY(TColor LimWatchPsvColor READ LimWatchPsvColor WRITE setLimWatchPsvColor)
    Q_PROPERTY(double ThresholdLow READ ThresholdLow WRITE setThresholdLow)
    Q_PROPERTY(double ThresholdHigh READ ThresholdHigh WRITE setThresholdHigh)
    Q_PROPERTY(double MeterMinValue READ MeterMinValue WRITE setMeterMinValue)
    Q_PROPERTY(double MeterMaxValue READ MeterMaxValue WRITE setMeterMaxValue)
    Q_PROPERTY(int MeterDecPlaces READ MeterDecPlaces WRITE setMeterDecPlaces)
    Q_PROPERTY(int MeterNrTicks READ MeterNrTicks WRITE setMeterNrTicks)
    Q_PROPERTY(TMeterLayout MeterLayout READ MeterLayout WRITE setMeterLayout)
    Q_PROPERTY(bool MeterShortTicks READ MeterShortTicks WRITE setMeterShortTicks)
    Q_PROPERTY(bool MeterScaleLine READ MeterScaleLine WRITE setMeterScaleLine)
    Q_PROPERTY(TNeedleLayout *NeedleLayout READ NeedleLayout CONSTANT)
    Q_PROPERTY(TNeedleLayout *NeedleLayoutSec READ NeedleLayoutSec CONSTANT)
    Q_PROPERTY(int RimBottom READ RimBottom WRITE setRimBottom)
    Q_PROPERTY(int RimTop READ RimTop WRITE setRimTop)
    Q_PROPERTY(int RimSide READ RimSide WRITE setRimSide)
    Q_PROPERTY(double ScaleBkWidth READ ScaleBkWidth WRITE setScaleBkWidth)
    Q_PROPERTY(bool ScaleBkVisible READ ScaleBkVisible WRITE setScaleBkVisible)
    Q_PROPERTY(bool ScaleVisible READ ScaleVisible WRITE setScaleVisible)
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(double ValueSec READ ValueSec WRITE setValueSec)
    Q_PROPERTY(QString Hint READ Hint WRITE setHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint)
    Q_PROPERTY(TFont Font READ Font WRITE setFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE setParentFont)

public:
    explicit TMeter(QWidget *parent = nullptr);
    ~TMeter() override;

    int AnchorSize() const;
    bool AnchorCovered() const;
    QString AnchorImage() const;
    QString BackGroundImg() const;
    TBkgFill BkgndFillMode() const;
    QString Caption() const;
    TColor ColorBakG() const;
    TColor ColorCover() const;
    TColor ColorScale() const;
    TColorScheme ColorScheme() const;
    TColor ColorSclBkLow() const;
    TColor ColorSclBkNorm() const;
    TColor ColorSclBkHigh() const;
    TFont FontCaption() const;
    TFrameStyle FrameStyle() const;
    bool LimWatchHighOn() const;
    bool LimWatchLowOn() const;
    TColor LimWatchActColor() const;
    TColor LimWatchPsvColor() const;
    double ThresholdLow() const;
    double ThresholdHigh() const;
    double MeterMinValue() const;
    double MeterMaxValue() const;
    int MeterDecPlaces() const;
    int MeterNrTicks() const;
    TMeterLayout MeterLayout() const;
    bool MeterShortTicks() const;
    bool MeterScaleLine() const;
    TNeedleLayout *NeedleLayout() const;
    TNeedleLayout *NeedleLayoutSec() const;
    int RimBottom() const;
    int RimTop() const;
    int RimSide() const;
    double ScaleBkWidth() const;
    bool ScaleBkVisible() const;
    bool ScaleVisible() const;
    double Value() const;
    double ValueSec() const;
    QString Hint() const;
    bool ShowHint() const;
    bool ParentShowHint() const;
    // Font of the scale labels. ParentFont true means the window's font,
    // which in this program is the default TFont.
    TFont Font() const;
    bool ParentFont() const;

    void setAnchorSize(int v);
    void setAnchorCovered(bool v);
    // Loads the hub image when the file exists (a failed load clears the name).
    void setAnchorImage(const QString &fileName);
    // Loads the background when the file exists; throws std::runtime_error
    // (after storing the name) when an existing file cannot be read.
    void setBackGroundImg(const QString &fileName);
    void setBkgndFillMode(TBkgFill v);
    void setCaption(const QString &v);
    void setColorBakG(TColor v);
    void setColorCover(TColor v);
    void setColorScale(TColor v);
    void setColorScheme(TColorScheme v);
    void setColorSclBkLow(TColor v);
    void setColorSclBkNorm(TColor v);
    void setColorSclBkHigh(TColor v);
    void setFontCaption(const TFont &v);
    void setFrameStyle(TFrameStyle v);
    void setLimWatchHighOn(bool v);
    void setLimWatchLowOn(bool v);
    void setLimWatchActColor(TColor v);
    void setLimWatchPsvColor(TColor v);
    // The range and value setters only store while loading. Otherwise the
    // thresholds and Value are kept inside [MeterMinValue, MeterMaxValue]; a
    // bound moved past the other one pushes it to one unit beyond. A change
    // of Value, ValueSec or a threshold re-evaluates the limit lamps and fires
    // the matching range event (every time, not only on entering a range).
    void setThresholdLow(double v);
    void setThresholdHigh(double v);
    void setMeterMinValue(double v);
    void setMeterMaxValue(double v);
    void setMeterDecPlaces(int v);  // clamped to 0..4
    void setMeterNrTicks(int v);    // clamped to 2..21
    void setMeterLayout(TMeterLayout v);
    void setMeterShortTicks(bool v);
    void setMeterScaleLine(bool v);
    void setNeedleLayout(const TNeedleLayout &v);
    void setNeedleLayoutSec(const TNeedleLayout &v);
    void setRimBottom(int v);
    void setRimTop(int v);
    void setRimSide(int v);
    void setScaleBkWidth(double v); // clamped to 0..100
    void setScaleBkVisible(bool v);
    void setScaleVisible(bool v);
    void setValue(double v);
    void setValueSec(double v);
    void setHint(const QString &v);
    void setShowHint(bool v);
    void setParentShowHint(bool v);
    using QWidget::setFont;
    void setFont(const TFont &v);
    void setParentFont(bool v);

    // The limit lamps' state, as the last value or threshold change left it.
    bool LimHighActive() const;
    bool LimLowActive() const;
    TColor SchemeShadowColor() const;
    TColor SchemeHighlightColor() const;

    // Draws over each scale label as it is drawn. While one is set the face
    // is drawn anew on every render (what it draws may change at any time).
    TmtBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;

    // How many times the face under the needles (background, band, scale,
    // labels, caption) was drawn; a moved needle alone reuses the last one.
    int faceRenderCount() const;

Q_SIGNALS:
    void OnUnderFlow(QObject *Sender);
    void OnOverFlow(QObject *Sender);
    void OnNormalRange(QObject *Sender);
    // The needle's value changed (a setter, or a range that clamped it);
    // not while loading, and never for a value set again.
    void ValueChanged(QObject *Sender);

protected:
    void paintTo(QImage &img) override;
    void loaded() override;
    void changeEvent(QEvent *event) override;

private:
    // A change to what the face or the overlay shows: forget them, repaint.
    void reshape();
    // Clears both limit flags; when evaluate is set, raises the one that
    // `shown` reaches and fires the matching range event.
    void evaluateLimits(double shown, bool evaluate);
    // Repaints unless the needles and lamps would be drawn as they are.
    void repaintIfMoved();
    double clampToRange(double v) const;
    void loadAnchorImages();

    friend class TMeterPainter;
    struct Private;
    std::unique_ptr<Private> d;
};
