#include "widgets/display/Meter.h"

#include <QEvent>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "widgets/display/MeterPaint.h"
#include "widgets/display/MeterPrivate.h"
#include "widgets/display/NumLabAccessible.h"

namespace {

bool fileExists(const QString &fileName)
{
    return !fileName.isEmpty() && QFileInfo(fileName).isFile();
}

} // namespace

TMeter::TMeter(QWidget *parent) : TGraphicControl(parent), d(std::make_unique<Private>())
{
    InstallDisplayAccessibility();
    resize(297, 209);
    setMouseTracking(true);
    d->fontCaption = d->font;
    d->needle = new TNeedleLayout(this);
    d->needleSec = new TNeedleLayout(this);
    d->needleSec->setVisible(false);
    for (TNeedleLayout *n : {d->needle, d->needleSec})
        connect(n, &TNeedleLayout::OnChange, this, [this] { repaintNow(); });
}

TMeter::~TMeter() = default;

void TMeter::reshape()
{
    ++d->cache.shape;
    repaintNow();
}

void TMeter::changeEvent(QEvent *event)
{
    // System colours follow the palette: the kept face and overlay are stale.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        ++d->cache.shape;
    TGraphicControl::changeEvent(event);
}

int TMeter::faceRenderCount() const
{
    return d->cache.faceRenders;
}

// ---- getters ---------------------------------------------------------------

int TMeter::AnchorSize() const { return d->anchorSize; }
bool TMeter::AnchorCovered() const { return d->anchorCovered; }
QString TMeter::AnchorImage() const { return d->anchorImage; }
QString TMeter::BackGroundImg() const { return d->backGroundImg; }
TBkgFill TMeter::BkgndFillMode() const { return d->bkgndFillMode; }
QString TMeter::Caption() const { return d->caption; }
TColor TMeter::ColorBakG() const { return d->colorBakG; }
TColor TMeter::ColorCover() const { return d->colorCover; }
TColor TMeter::ColorScale() const { return d->colorScale; }
TColorScheme TMeter::ColorScheme() const { return d->colorScheme; }
TColor TMeter::ColorSclBkLow() const { return d->colorSclBkLow; }
TColor TMeter::ColorSclBkNorm() const { return d->colorSclBkNorm; }
TColor TMeter::ColorSclBkHigh() const { return d->colorSclBkHigh; }
TFont TMeter::FontCaption() const { return d->fontCaption; }
TFrameStyle TMeter::FrameStyle() const { return d->frameStyle; }
bool TMeter::LimWatchHighOn() const { return d->limWatchHighOn; }
bool TMeter::LimWatchLowOn() const { return d->limWatchLowOn; }
TColor TMeter::LimWatchActColor() const { return d->limWatchActColor; }
TColor TMeter::LimWatchPsvColor() const { return d->limWatchPsvColor; }
double TMeter::ThresholdLow() const { return d->thresholdLow; }
double TMeter::ThresholdHigh() const { return d->thresholdHigh; }
double TMeter::MeterMinValue() const { return d->meterMinValue; }
double TMeter::MeterMaxValue() const { return d->meterMaxValue; }
int TMeter::MeterDecPlaces() const { return d->meterDecPlaces; }
int TMeter::MeterNrTicks() const { return d->meterNrTicks; }
TMeterLayout TMeter::MeterLayout() const { return d->meterLayout; }
bool TMeter::MeterShortTicks() const { return d->meterShortTicks; }
bool TMeter::MeterScaleLine() const { return d->meterScaleLine; }
TNeedleLayout *TMeter::NeedleLayout() const { return d->needle; }
TNeedleLayout *TMeter::NeedleLayoutSec() const { return d->needleSec; }
int TMeter::RimBottom() const { return d->rimBottom; }
int TMeter::RimTop() const { return d->rimTop; }
int TMeter::RimSide() const { return d->rimSide; }
double TMeter::ScaleBkWidth() const { return d->scaleBkWidth; }
bool TMeter::ScaleBkVisible() const { return d->scaleBkVisible; }
bool TMeter::ScaleVisible() const { return d->scaleVisible; }
double TMeter::Value() const { return d->value; }
double TMeter::ValueSec() const { return d->valueSec; }
QString TMeter::Hint() const { return d->hint; }
bool TMeter::ShowHint() const { return d->showHint; }
bool TMeter::ParentShowHint() const { return d->parentShowHint; }
TFont TMeter::Font() const { return d->font; }
bool TMeter::ParentFont() const { return d->parentFont; }
bool TMeter::LimHighActive() const { return d->limHighActive; }
bool TMeter::LimLowActive() const { return d->limLowActive; }
TColor TMeter::SchemeShadowColor() const { return d->schemeShadowColor; }
TColor TMeter::SchemeHighlightColor() const { return d->schemeHighlightColor; }

// ---- plain setters: store and repaint only on a real change -----------------

namespace {

template<typename T> bool assignIfChanged(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

#define VELMORA_METER_PLAIN_SETTER(Name, Type, field)                                           \
    void TMeter::set##Name(Type v)                                                              \
    {                                                                                           \
        if (assignIfChanged(d->field, v))                                                       \
            reshape();                                                                       \
    }

VELMORA_METER_PLAIN_SETTER(AnchorSize, int, anchorSize)
VELMORA_METER_PLAIN_SETTER(AnchorCovered, bool, anchorCovered)
VELMORA_METER_PLAIN_SETTER(ColorBakG, TColor, colorBakG)
VELMORA_METER_PLAIN_SETTER(ColorCover, TColor, colorCover)
VELMORA_METER_PLAIN_SETTER(ColorScale, TColor, colorScale)
VELMORA_METER_PLAIN_SETTER(ColorSclBkLow, TColor, colorSclBkLow)
VELMORA_METER_PLAIN_SETTER(ColorSclBkNorm, TColor, colorSclBkNorm)
VELMORA_METER_PLAIN_SETTER(ColorSclBkHigh, TColor, colorSclBkHigh)
VELMORA_METER_PLAIN_SETTER(FrameStyle, TFrameStyle, frameStyle)
VELMORA_METER_PLAIN_SETTER(LimWatchHighOn, bool, limWatchHighOn)
VELMORA_METER_PLAIN_SETTER(LimWatchLowOn, bool, limWatchLowOn)
VELMORA_METER_PLAIN_SETTER(LimWatchActColor, TColor, limWatchActColor)
VELMORA_METER_PLAIN_SETTER(LimWatchPsvColor, TColor, limWatchPsvColor)
VELMORA_METER_PLAIN_SETTER(MeterLayout, TMeterLayout, meterLayout)
VELMORA_METER_PLAIN_SETTER(MeterShortTicks, bool, meterShortTicks)
VELMORA_METER_PLAIN_SETTER(MeterScaleLine, bool, meterScaleLine)
VELMORA_METER_PLAIN_SETTER(RimBottom, int, rimBottom)
VELMORA_METER_PLAIN_SETTER(RimTop, int, rimTop)
VELMORA_METER_PLAIN_SETTER(RimSide, int, rimSide)

#undef VELMORA_METER_PLAIN_SETTER

// ---- setters with their own rules -------------------------------------------

void TMeter::setBkgndFillMode(TBkgFill v)
{
    d->bkgndFillMode = v;
    reshape();
}

void TMeter::setScaleBkVisible(bool v)
{
    d->scaleBkVisible = v;
    reshape();
}

void TMeter::setScaleVisible(bool v)
{
    d->scaleVisible = v;
    reshape();
}

void TMeter::setScaleBkWidth(double v)
{
    d->scaleBkWidth = std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 100.0);
    reshape();
}

void TMeter::setMeterDecPlaces(int v)
{
    if (v == d->meterDecPlaces)
        return;
    d->meterDecPlaces = std::clamp(v, 0, 4);
    reshape();
}

void TMeter::setMeterNrTicks(int v)
{
    if (v == d->meterNrTicks)
        return;
    d->meterNrTicks = std::clamp(v, 2, 21);
    reshape();
}

void TMeter::setColorScheme(TColorScheme v)
{
    if (v == d->colorScheme)
        return;
    d->colorScheme = v;
    const bool system = v == TColorScheme::csSystem;
    d->schemeShadowColor = system ? clBtnShadow : clGray;
    d->schemeHighlightColor = system ? clBtnHighlight : clWhite;
    reshape();
}

void TMeter::setFontCaption(const TFont &v)
{
    d->fontCaption = v;
    reshape();
}

void TMeter::setCaption(const QString &v)
{
    d->caption = v;
    reshape();
}

void TMeter::setNeedleLayout(const TNeedleLayout &v)
{
    d->needle->Assign(v);
    reshape();
}

void TMeter::setNeedleLayoutSec(const TNeedleLayout &v)
{
    d->needleSec->Assign(v);
    reshape();
}

void TMeter::setBackGroundImg(const QString &fileName)
{
    if (!fileExists(fileName)) {
        d->backGroundImg.clear();
        reshape();
        return;
    }
    d->backGroundImg = fileName;
    if (!d->backgroundBitmap.LoadFromFile(fileName)) {
        // While loading, the end of loading tries again and drops the name.
        if (isLoading())
            return;
        // The name stays and the old picture is kept; the caller hears of it.
        reshape();
        throw std::runtime_error("Cannot load the image " + fileName.toStdString());
    }
    reshape();
}

void TMeter::setAnchorImage(const QString &fileName)
{
    d->anchorImage = fileExists(fileName) ? fileName : QString();
    if (!d->anchorImage.isEmpty())
        loadAnchorImages();
    reshape();
}

// ---- range and value setters --------------------------------------------------

void TMeter::evaluateLimits(double shown, bool evaluate)
{
    d->limHighActive = false;
    d->limLowActive = false;
    if (!evaluate)
        return;
    if (shown >= d->thresholdHigh) {
        d->limHighActive = true;
        Q_EMIT OnOverFlow(this);
    } else if (shown <= d->thresholdLow) {
        d->limLowActive = true;
        Q_EMIT OnUnderFlow(this);
    } else {
        Q_EMIT OnNormalRange(this);
    }
}

double TMeter::clampToRange(double v) const
{
    if (v > d->meterMaxValue)
        return d->meterMaxValue;
    if (v < d->meterMinValue)
        return d->meterMinValue;
    return v;
}

void TMeter::setValue(double v)
{
    if (isLoading()) {
        d->value = v;
        return;
    }
    // Compared with the unclamped argument: the same out-of-range value set
    // again evaluates and fires again.
    if (v == d->value)
        return;
    const double before = d->value;
    d->value = clampToRange(v);
    evaluateLimits(d->value, d->needle->Visible());
    repaintIfMoved();
    if (d->value != before)
        Q_EMIT ValueChanged(this);
}

void TMeter::setValueSec(double v)
{
    if (isLoading()) {
        d->valueSec = v;
        return;
    }
    if (v == d->valueSec)
        return;
    d->valueSec = clampToRange(v);
    const bool shown = d->needleSec->Visible();
    evaluateLimits(d->valueSec, shown);
    if (shown)
        repaintIfMoved();
}

void TMeter::repaintIfMoved()
{
    // A needle that moves by less than a pixel leaves the picture as it is:
    // nothing to draw. A label handler may draw something new every time.
    if (!OnBeforeDrawScaleLabel && d->drawnPose && !lastImage().isNull()
        && TMeterPainter::pose(*d, size()) == *d->drawnPose)
        return;
    repaintNow();
}

void TMeter::setMeterMinValue(double v)
{
    if (isLoading()) {
        d->meterMinValue = v;
        return;
    }
    if (v == d->meterMinValue)
        return;
    d->meterMinValue = v;
    if (d->meterMaxValue <= v)
        d->meterMaxValue = v + 1;
    const double before = d->value;
    for (double *f : {&d->value, &d->thresholdLow, &d->thresholdHigh})
        *f = std::max(*f, v);
    reshape();
    if (d->value != before)
        Q_EMIT ValueChanged(this);
}

void TMeter::setMeterMaxValue(double v)
{
    if (isLoading()) {
        d->meterMaxValue = v;
        return;
    }
    if (v == d->meterMaxValue)
        return;
    d->meterMaxValue = v;
    if (d->meterMinValue >= v)
        d->meterMinValue = v - 1;
    const double before = d->value;
    for (double *f : {&d->value, &d->thresholdLow, &d->thresholdHigh})
        *f = std::min(*f, v);
    reshape();
    if (d->value != before)
        Q_EMIT ValueChanged(this);
}

void TMeter::setThresholdLow(double v)
{
    if (isLoading()) {
        d->thresholdLow = v;
        return;
    }
    if (v == d->thresholdLow)
        return;
    d->thresholdLow = clampToRange(v);
    if (d->thresholdHigh < d->thresholdLow)
        d->thresholdHigh = d->thresholdLow;
    d->limLowActive = false;
    if (d->value <= d->thresholdLow) {
        d->limLowActive = true;
        Q_EMIT OnUnderFlow(this);
    }
    reshape();
}

void TMeter::setThresholdHigh(double v)
{
    if (isLoading()) {
        d->thresholdHigh = v;
        return;
    }
    if (v == d->thresholdHigh)
        return;
    d->thresholdHigh = clampToRange(v);
    if (d->thresholdLow > d->thresholdHigh)
        d->thresholdLow = d->thresholdHigh;
    d->limHighActive = false;
    if (d->value >= d->thresholdHigh) {
        d->limHighActive = true;
        Q_EMIT OnOverFlow(this);
    }
    reshape();
}

// ---- loading ------------------------------------------------------------------

void TMeter::loaded()
{
    // Bounds stored raw may be reversed or equal; the scale needs min < max,
    // so apply the minimum setter's rule before anything is drawn.
    if (d->meterMaxValue <= d->meterMinValue)
        d->meterMaxValue = d->meterMinValue + 1;
    d->value = clampToRange(d->value);

    if (!d->backGroundImg.isEmpty() && !d->backgroundBitmap.LoadFromFile(d->backGroundImg))
        d->backGroundImg.clear();
    if (!d->anchorImage.isEmpty())
        loadAnchorImages();
    reshape();
}

void TMeter::loadAnchorImages()
{
    if (!d->anchorBitmap.LoadFromFile(d->anchorImage)
        || !d->anchorMask.LoadFromFile(d->anchorImage)) {
        d->anchorImage.clear();
        return;
    }
    BuildAnchorMask(d->anchorMask);
}

// ---- common control properties ---------------------------------------------

void TMeter::setHint(const QString &v)
{
    d->hint = v;
    setToolTip(d->showHint ? d->hint : QString());
}

void TMeter::setShowHint(bool v)
{
    d->showHint = v;
    d->parentShowHint = false;
    setToolTip(d->showHint ? d->hint : QString());
}

void TMeter::setParentShowHint(bool v)
{
    d->parentShowHint = v;
}

void TMeter::setFont(const TFont &v)
{
    d->parentFont = false;
    if (assignIfChanged(d->font, v))
        reshape();
}

void TMeter::setParentFont(bool v)
{
    if (v == d->parentFont)
        return;
    d->parentFont = v;
    if (v && assignIfChanged(d->font, TFont()))
        reshape();
}

