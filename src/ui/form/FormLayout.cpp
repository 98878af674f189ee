// The main window's layout: every control with its place, texts and settings,
// in the order of the window's layout tables.

#include "ui/form/Form1.h"

#include "analysis/TruckInputs.h"

#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "gfx/Font.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "model/VehicleTables.h"
#include "ui/form/WindowFont.h"
#include "widgets/button/oxBtns.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace
{

const TFont kWindowFont(QStringLiteral("MS Sans Serif"), -11);
// The gauges' scale labels in the narrow face: in the condensed window face
// the rpm gauge's "2000" and "3000" (24 pixels each) run together.
const TFont kGaugeFont(QStringLiteral("Liberation Sans Narrow"), -11);

// Everything built while the layout loads, so it can be told the loading is
// over, and the captions whose controls are resolved at the end.
struct LayoutLoader {
    std::vector<std::function<void()>> loaded;

    template <class W> W *place(QWidget *parent, const char *name, QRect bounds)
    {
        auto *w = new W(parent);
        w->setObjectName(QLatin1String(name));
        if constexpr (requires { w->beginLoading(); }) {
            w->beginLoading();
            loaded.push_back([w] { w->Loaded(); });
        }
        w->setGeometry(bounds);
        return w;
    }

    QGroupBox *groupBox(QWidget *parent, const char *name, QRect bounds, const char *text, int tab)
    {
        auto *g = place<TGroupBox>(parent, name, bounds);
        g->setTitle(QLatin1String(text));
        setTabOrder(g, tab);
        return g;
    }

    TComboBox *comboBox(QWidget *parent, const char *name, QRect bounds, const char *initialText,
                        auto items, int tab)
    {
        auto *c = place<TComboBox>(parent, name, bounds);
        for (std::string_view item : items)
            c->addItem(QString::fromUtf8(item.data(), qsizetype(item.size())));
        c->setItemIndex(-1);
        c->setText(QLatin1String(initialText));
        setTabOrder(c, tab);
        return c;
    }

    // The settings all nine readouts share.
    TNumLab *numLab(QWidget *parent, const char *name, QRect bounds, const char *left,
                    const char *right)
    {
        auto *n = place<TNumLab>(parent, name, bounds);
        n->setAlignment(TAlignment::taCenter);
        n->setColorLabBakG(clBtnFace);
        n->setColorLabText(clBlack);
        n->setColorOutBakG(clBtnFace);
        n->setColorOutText(clBlack);
        n->setColorScheme(TColorScheme::csBWG);
        n->setComma(false);
        n->setDisplayType(TDisplay::dtFixP);
        n->setDTFormat(QStringLiteral("mmm-dd, yyyy"));
        n->setEmpty(false);
        n->setForcePlusSign(false);
        n->setFrameStyle(TFrameStyle::fsLowered);
        n->setLabelWidth(80);
        n->setLeftTextAlignment(TAlignment::taRightJustify);
        n->setOverflowIndicator(QStringLiteral("*********"));
        n->setPrecision(2);
        n->setRightTextAlignment(TAlignment::taLeftJustify);
        n->setStateText(QStringLiteral("undefined"));
        n->setLeftText(QLatin1String(left));
        n->setRightText(QLatin1String(right));
        return n;
    }

    // The settings both dial gauges share.
    TMeter *meter(QWidget *parent, const char *name, QRect bounds, const char *caption, double max)
    {
        auto *m = place<TMeter>(parent, name, bounds);
        m->setAnchorSize(24);
        m->setAnchorCovered(false);
        m->setBkgndFillMode(TBkgFill::bfSimple);
        m->setColorBakG(clWhite);
        m->setColorCover(clBtnFace);
        m->setColorScale(clNavy);
        m->setColorScheme(TColorScheme::csBWG);
        m->setColorSclBkLow(clLime);
        m->setColorSclBkNorm(0x0080FF);
        m->setColorSclBkHigh(clRed);
        m->setFontCaption(kWindowFont);
        m->setFont(kGaugeFont); // the scale labels
        m->setFrameStyle(TFrameStyle::fsLowered);
        m->setLimWatchHighOn(false);
        m->setLimWatchLowOn(false);
        m->setLimWatchActColor(clRed);
        m->setLimWatchPsvColor(clGray);
        m->setThresholdHigh(1);
        m->setMeterDecPlaces(0);
        m->setMeterNrTicks(3);
        m->setMeterLayout(TMeterLayout::mlCirc270);
        m->setMeterShortTicks(true);
        m->setMeterScaleLine(true);
        needle(*m->NeedleLayout(), 5, clRed, clRed, true);
        needle(*m->NeedleLayoutSec(), 20, clSilver, clBlack, false);
        m->setRimBottom(10);
        m->setRimTop(8);
        m->setRimSide(10);
        m->setScaleBkVisible(false);
        m->setScaleVisible(true);
        m->setCaption(QLatin1String(caption));
        m->setMeterMaxValue(max);
        return m;
    }

    static void needle(TNeedleLayout &n, int headSize, TColor body, TColor outline, bool visible)
    {
        n.setHeadSize(headSize);
        n.setHeadAngle(30);
        n.setHeadMidLeng(20);
        n.setThickness(0);
        n.setColorBody(body);
        n.setColorOutline(outline);
        n.setPercentNeedleLength(100);
        n.setShadowDx(0);
        n.setShadowDy(0);
        n.setShadowColor(clGray);
        n.setVisible(visible);
    }

    TESBPosFloatEdit *floatEdit(QWidget *parent, const char *name, QRect bounds, double value,
                                int decimalPlaces, int tab)
    {
        auto *e = place<TESBPosFloatEdit>(parent, name, bounds);
        e->setAsFloat(value);
        e->setDecimalPlaces(quint8(decimalPlaces));
        e->setScale(1);
        setTabOrder(e, tab);
        return e;
    }

    // A caption; the calls that follow set its attachment in the listed
    // order, and its control is resolved when the whole layout is read.
    TESBPCSLabel *label(QWidget *parent, const char *name, QRect bounds, const char *caption,
                        const char *control)
    {
        auto *l = place<TESBPCSLabel>(parent, name, bounds);
        l->setCaption(QLatin1String(caption));
        pendingControls.emplace_back(l, QLatin1String(control));
        return l;
    }

    void setTabOrder(QWidget *w, int tab) { w->setProperty("TabOrder", tab); }

    // The style's check mark is wider than the one the layout was drawn for:
    // let the box grow to the right so its text stays readable.
    template <class Box>
    Box *checkBox(QWidget *parent, const char *name, QRect bounds, const char *text)
    {
        auto *b = place<Box>(parent, name, bounds);
        b->setText(QLatin1String(text));
        b->resize(std::max(bounds.width(), b->sizeHint().width()), bounds.height());
        return b;
    }

    std::vector<std::pair<TESBPCSLabel *, QString>> pendingControls;

    void finish(QWidget *window)
    {
        for (auto &[label, control] : pendingControls)
            label->setAttachToControl(window->findChild<QWidget *>(control));
        for (auto &f : loaded)
            f();
    }
};

// The edit boxes and their captions take the narrow face; the boxes keep
// the layout's size and set their text from the inside of the frame, which
// the 33-pixel boxes need for values such as 0.8130.
void UseNarrowFaceInTheBoxes(QWidget *window)
{
    const QFont narrow = NarrowFont();
    for (TESBPCSLabel *l : window->findChildren<TESBPCSLabel *>())
        l->setFont(narrow);
    for (TESBCustomEdit *e : window->findChildren<TESBCustomEdit *>()) {
        const QSize laidOut = e->size();
        e->setFont(narrow);
        e->resize(laidOut);
        e->setTextMargins(-1, 0, -1, 0);
    }
}

} // namespace

QWidget *NextTabStop(const std::vector<QWidget *> &cycle, QWidget *focus, bool next)
{
    // The control that holds the focus: a compound control for its editor.
    const auto n = std::ptrdiff_t(cycle.size());
    std::ptrdiff_t at = -1;
    for (std::ptrdiff_t i = 0; i < n && at < 0; ++i)
        if (focus && (cycle[std::size_t(i)] == focus || cycle[std::size_t(i)]->isAncestorOf(focus)))
            at = i;
    if (at < 0)
        at = next ? n - 1 : 0;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((at + (next ? step : -step)) % n + n) % n;
        QWidget *w = cycle[std::size_t(i)];
        QWidget *taker = w->focusProxy() ? w->focusProxy() : w;
        if (taker->isVisible() && taker->isEnabled() && (taker->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

namespace
{

// The window's tab chain: each container's children by their tab order,
// entering group boxes where they stand.
void chainTabOrder(QWidget *container, std::vector<QWidget *> &chain)
{
    std::vector<QWidget *> kids;
    for (QObject *o : container->children())
        if (auto *w = qobject_cast<QWidget *>(o); w && w->property("TabOrder").isValid())
            kids.push_back(w);
    std::stable_sort(kids.begin(), kids.end(), [](QWidget *a, QWidget *b) {
        return a->property("TabOrder").toInt() < b->property("TabOrder").toInt();
    });
    for (QWidget *w : kids) {
        if (qobject_cast<QGroupBox *>(w))
            chainTabOrder(w, chain);
        else
            chain.push_back(w);
    }
}

} // namespace

void TForm1::CreateControls()
{
    using namespace VehicleTables;
    LayoutLoader L;

    // Controls placed directly on the window.
    GroupBox2 = L.groupBox(this, "GroupBox2", {8, 8, 233, 169}, "At Crankshaft", 1);
    GroupBox3 = L.groupBox(this, "GroupBox3", {264, 8, 169, 169}, "Drive Line", 2);
    GroupBox5 = L.groupBox(this, "GroupBox5", {456, 8, 153, 169}, "Input Gear", 4);
    GroupBox1 = L.groupBox(this, "GroupBox1", {8, 192, 185, 129}, "Resistance", 0);
    GroupBox4 = L.groupBox(this, "GroupBox4", {216, 192, 217, 129}, "Speed", 3);
    GroupBox4->setFont(WindowFont());
    GroupBox6 = L.groupBox(this, "GroupBox6", {456, 192, 225, 193}, "Input Bearing", 5);
    Loading = L.groupBox(this, "Loading", {8, 336, 289, 105}, "Loading", 7);

    BtnBoostMe = L.place<ToxGraphicButton>(this, "BtnBoostMe", {336, 360, 73, 65});
    BtnBoostMe->setCaption(QStringLiteral("&Boost")); // Alt+B toggles it
    BtnBoostMe->setButtonType(ToxButtonType::oxbToggle);
    BtnBoostMe->setGroup(1);
    BtnBoostMe->setGroupAllowNoSel(true);
    BtnBoostMe->setGrayed(false);
    BtnBoostMe->setAnimate(false);
    BtnBoostMe->Background().setStyle(ToxBackgroundStyle::oxbSolid);
    BtnBoostMe->Background().setColor(clBtnFace);
    BtnBoostMe->Background().setGradient(clWhite);
    // The bold condensed substitute joins B-o-o-s at mid-height when drawn
    // without antialiasing; Liberation Sans Bold at the same size does not.
    BtnBoostMe->setFont(TFont(QStringLiteral("Liberation Sans"), -13, TFontStyle::fsBold, clBtnText));
    BtnBoostMe->setMultiLine(false);
    BtnBoostMe->setTextAngle(0);
    BtnBoostMe->setTextX(0);
    BtnBoostMe->setTextY(26);

    BtnAbout = L.place<QPushButton>(this, "BtnAbout", {456, 400, 225, 25});
    BtnAbout->setText(QStringLiteral("About Velmora"));
    L.setTabOrder(BtnAbout, 11);

    MeterSpeed = L.meter(this, "MeterSpeed", {8, 456, 153, 137}, "mph", 100);
    MeterRpm = L.meter(this, "MeterRpm", {168, 456, 153, 137}, "rpm", 5000);

    RBFourth = L.checkBox<QRadioButton>(this, "RBFourth", {384, 456, 41, 17}, "4th");
    RBFourth->setChecked(false);
    L.setTabOrder(RBFourth, 9);
    RBFifth = L.checkBox<QRadioButton>(this, "RBFifth", {440, 456, 41, 17}, "5th");
    RBFifth->setChecked(true);
    L.setTabOrder(RBFifth, 10);
    KeepCheckedRadioAsTabStop(RBFourth);
    KeepCheckedRadioAsTabStop(RBFifth);

    PBPercTorque = L.place<QProgressBar>(this, "PBPercTorque", {376, 496, 265, 16});
    PBPercTorque->setRange(0, 100);
    PBPercTorque->setValue(0);
    PBPercTorque->setTextVisible(false);
    L.setTabOrder(PBPercTorque, 8);
    ESBPCSLabel16 = L.label(this, "ESBPCSLabel16", {442, 514, 132, 13}, "Percentage Torque Unused",
                            "PBPercTorque");
    ESBPCSLabel16->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel16->setAttachType(TESBLabelAttachType::elaBottom);
    ESBPCSLabel16->setAttachMarginH(0);

    TBGasPedal = L.place<QSlider>(this, "TBGasPedal", {368, 552, 281, 9});
    TBGasPedal->setOrientation(Qt::Horizontal);
    TBGasPedal->setRange(0, 100);
    TBGasPedal->setValue(0);
    TBGasPedal->setTickInterval(1);
    TBGasPedal->setTickPosition(QSlider::TicksBelow);
    L.setTabOrder(TBGasPedal, 6);
    ESBPCSLabel17 = L.label(this, "ESBPCSLabel17", {484, 563, 49, 13}, "Gas Pedal", "TBGasPedal");
    ESBPCSLabel17->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel17->setAttachType(TESBLabelAttachType::elaBottom);
    ESBPCSLabel17->setAttachMarginH(0);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);

    // "At Crankshaft"
    ComboEngine = L.comboBox(GroupBox2, "ComboEngine", {16, 32, 201, 21}, "ComboEngine",
                             EngineListTexts(), 0);
    NumLabRpm = L.numLab(GroupBox2, "NumLabRpm", {18, 69, 160, 18}, "", "rpm");
    NumLabRpm->setDisplayType(TDisplay::dtInt);
    NumLabRpm->setLeftSpace(35);
    NumLabPower = L.numLab(GroupBox2, "NumLabPower", {8, 92, 160, 17}, "Power", "hp");
    NumLabPower->setPrecision(1);
    NumLabPower->setLeftSpace(45);
    NumLabPower->setEmpty(true);
    NumLabTorque = L.numLab(GroupBox2, "NumLabTorque", {8, 116, 160, 17}, "Torque", "ft.lb");
    NumLabTorque->setPrecision(2);
    NumLabTorque->setLeftSpace(45);
    NumLabTorque->setEmpty(true);

    // "Drive Line"
    ESBPCSLabel2 = L.label(GroupBox3, "ESBPCSLabel2", {6, 26, 78, 13}, "transmission loss",
                           "EditTransmissionLoss");
    ESBPCSLabel2->setAttachMarginH(4);
    EditTransmissionLoss =
        L.floatEdit(GroupBox3, "EditTransmissionLoss", {88, 24, 33, 21}, 0.17, 2, 2);
    ESBPCSLabel18 = L.label(GroupBox3, "ESBPCSLabel18", {17, 56, 67, 13}, "overdrive ratio",
                            "EditOverDriveRatio");
    ESBPCSLabel18->setAttachAlignV(TESBLabelAttachAlignV::elvCenter);
    ESBPCSLabel18->setAttachMarginH(4);
    ESBPCSLabel18->setAttachMarginV(0);
    EditOverDriveRatio =
        L.floatEdit(GroupBox3, "EditOverDriveRatio", {88, 52, 33, 21}, 0.813, 4, 3);
    ComboFinalRatio = L.comboBox(GroupBox3, "ComboFinalRatio", {8, 80, 145, 21}, "ComboFinalRatio",
                                 FinalDriveListTexts(), 0);
    ESBPCSLabel1 = L.label(GroupBox3, "ESBPCSLabel1", {34, 103, 92, 13}, "final drive gear ratio",
                           "ComboFinalRatio");
    ESBPCSLabel1->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel1->setAttachType(TESBLabelAttachType::elaBottom);
    ESBPCSLabel1->setAttachMarginH(0);
    ComboTyreSize = L.comboBox(GroupBox3, "ComboTyreSize", {8, 124, 145, 21}, "ComboTyreSize",
                               TyreSizeListTexts(), 1);
    ESBPCSLabel7 =
        L.label(GroupBox3, "ESBPCSLabel7", {61, 145, 38, 13}, "tyre size", "ComboTyreSize");
    ESBPCSLabel7->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel7->setAttachAlignV(TESBLabelAttachAlignV::elvCenter);
    ESBPCSLabel7->setAttachType(TESBLabelAttachType::elaBottom);
    ESBPCSLabel7->setAttachMarginH(0);
    ESBPCSLabel7->setAttachMarginV(0);

    // "Input Gear"
    ESBPCSLabel8 =
        L.label(GroupBox5, "ESBPCSLabel8", {5, 26, 87, 13}, "PitchCircleRad (in)", "EditPCR");
    ESBPCSLabel8->setAttachMarginH(4);
    EditPCR = L.floatEdit(GroupBox5, "EditPCR", {96, 24, 33, 21}, 1.11, 2, 0);
    ESBPCSLabel9 =
        L.label(GroupBox5, "ESBPCSLabel9", {21, 56, 71, 13}, "Pressure Angle", "EditPressAngle");
    ESBPCSLabel9->setAttachMarginH(4);
    EditPressAngle = L.floatEdit(GroupBox5, "EditPressAngle", {96, 54, 34, 21}, 20, 1, 1);
    ESBPCSLabel10 =
        L.label(GroupBox5, "ESBPCSLabel10", {39, 85, 53, 13}, "Helix Angle", "EditHelixAngle");
    ESBPCSLabel10->setAttachMarginH(4);
    EditHelixAngle = L.floatEdit(GroupBox5, "EditHelixAngle", {96, 83, 35, 21}, 15, 1, 2);
    ESBPCSLabel11 =
        L.label(GroupBox5, "ESBPCSLabel11", {6, 115, 86, 13}, "Bearing Overhang", "EditOverhang");
    ESBPCSLabel11->setAttachMarginH(4);
    EditOverhang = L.floatEdit(GroupBox5, "EditOverhang", {96, 113, 36, 21}, 1.15, 2, 3);
    ESBPCSLabel12 =
        L.label(GroupBox5, "ESBPCSLabel12", {38, 143, 54, 13}, "Load factor", "EditLoadFactor");
    ESBPCSLabel12->setAttachMarginH(4);
    EditLoadFactor = L.floatEdit(GroupBox5, "EditLoadFactor", {96, 141, 37, 21}, 1.2, 2, 4);

    // "Resistance"
    ESBPCSLabel4 = L.label(GroupBox1, "ESBPCSLabel4", {12, 26, 108, 13}, "Rolling Resistance (lbf)",
                           "EditRollingResistance");
    ESBPCSLabel4->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel4->setAttachMarginH(0);
    EditRollingResistance =
        L.place<TESBPosEdit>(GroupBox1, "EditRollingResistance", {120, 24, 25, 21});
    EditRollingResistance->setAsLongWord(45);
    L.setTabOrder(EditRollingResistance, 0);
    ESBPCSLabel5 = L.label(GroupBox1, "ESBPCSLabel5", {27, 58, 83, 13}, "Frontal Area (sqft)",
                           "EditFrontalArea");
    EditFrontalArea = L.floatEdit(GroupBox1, "EditFrontalArea", {112, 56, 33, 21}, 22.5, 1, 1);
    ESBPCSLabel6 =
        L.label(GroupBox1, "ESBPCSLabel6", {62, 90, 48, 13}, "Drag Coef", "EditDragCoef");
    EditDragCoef = L.floatEdit(GroupBox1, "EditDragCoef", {112, 88, 33, 21}, 0.65, 3, 2);

    // "Speed"
    CBMph = L.checkBox<QCheckBox>(GroupBox4, "CBMph", {8, 16, 49, 17}, "mph");
    CBMph->setChecked(true);
    L.setTabOrder(CBMph, 0);
    NumLabSpeed = L.numLab(GroupBox4, "NumLabSpeed", {40, 40, 161, 17}, "Speed", "mph");
    NumLabSpeed->setPrecision(1);
    NumLabSpeed->setLeftSpace(45);
    NumLabSpeed->setFont(TFont(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold));
    NumLabResistance =
        L.numLab(GroupBox4, "NumLabResistance", {25, 64, 160, 17}, "Resistance", "lbf");
    NumLabResistance->setPrecision(2);
    NumLabResistance->setLeftSpace(60);
    NumLabForceAvailable =
        L.numLab(GroupBox4, "NumLabForceAvailable", {6, 88, 184, 17}, "Force Available", "lbf");
    NumLabForceAvailable->setPrecision(2);
    NumLabForceAvailable->setLeftSpace(80);

    // "Input Bearing"
    Label2 = L.place<QLabel>(GroupBox6, "Label2", {8, 24, 149, 13});
    Label2->setText(QStringLiteral("63/22 deep groove ball bearing"));
    Label2->adjustSize();
    ESBPCSLabel13 = L.label(GroupBox6, "ESBPCSLabel13", {9, 51, 138, 13},
                            "Dynamic Load Rating (lbf)  Cr", "EditDynLoadRating");
    ESBPCSLabel13->setAttachMarginH(4);
    EditDynLoadRating = L.floatEdit(GroupBox6, "EditDynLoadRating", {151, 49, 34, 21}, 2081, 0, 0);
    EditDynLoadRating->setThousandSeparators(TESBSeparatorStyle::essAuto);
    NUmLabIPBRadialForce =
        L.numLab(GroupBox6, "NUmLabIPBRadialForce", {9, 80, 190, 19}, "Radial Load   P", "lbf");
    NUmLabIPBRadialForce->setPrecision(2);
    NUmLabIPBRadialForce->setLeftSpace(85);
    NumLabCOnP = L.numLab(GroupBox6, "NumLabCOnP", {60, 110, 129, 18}, "C/P", "");
    NumLabCOnP->setPrecision(2);
    NumLabCOnP->setLeftSpace(35);
    CBMiles = L.checkBox<QCheckBox>(GroupBox6, "CBMiles", {8, 136, 41, 17}, "miles");
    CBMiles->setChecked(true);
    L.setTabOrder(CBMiles, 1);
    NumLabIPBLife10 =
        L.numLab(GroupBox6, "NumLabIPBLife10", {10, 161, 208, 20}, "Life  [10%]", "000miles");
    NumLabIPBLife10->setDisplayType(TDisplay::dtInt);
    NumLabIPBLife10->setLeftSpace(65);
    NumLabIPBLife10->setColorLabBakG(clBlack);
    NumLabIPBLife10->setColorLabText(clYellow);
    NumLabIPBLife10->setFont(TFont(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold));

    // "Loading"
    ESBPCSLabel3 = L.label(Loading, "ESBPCSLabel3", {8, 28, 99, 13}, "Unladen Weight (lbs)",
                           "ComboKerbWeight");
    ESBPCSLabel3->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel3->setAttachAlignV(TESBLabelAttachAlignV::elvCenter);
    ESBPCSLabel3->setAttachMarginH(4);
    ESBPCSLabel3->setAttachMarginV(0);
    ComboKerbWeight = L.comboBox(Loading, "ComboKerbWeight", {111, 24, 169, 21}, "ComboKerbWeights",
                                 KerbWeightListTexts(), 0);
    ESBPCSLabel14 = L.label(Loading, "ESBPCSLabel14", {62, 52, 46, 13}, "Load (lbs)", "SELoad");
    ESBPCSLabel14->setAttachAlignH(TESBLabelAttachAlignH::elhCenter);
    ESBPCSLabel14->setAttachAlignV(TESBLabelAttachAlignV::elvCenter);
    ESBPCSLabel14->setAttachMarginH(4);
    ESBPCSLabel14->setAttachMarginV(0);
    SELoad = L.place<TESBFloatSpinEdit>(Loading, "SELoad", {112, 48, 49, 21});
    SELoad->setMin(InputByKey("load").Range.Min);
    SELoad->setMax(InputByKey("load").Range.Max);
    SELoad->setStep(50);
    SELoad->setPageStep(10);
    SELoad->setDecimalPlaces(0);
    SELoad->setMaxLength(0);
    SELoad->setTabStop(true);
    SELoad->setValue(50);
    L.setTabOrder(SELoad, 2);
    ESBPCSLabel15 =
        L.label(Loading, "ESBPCSLabel15", {25, 76, 83, 13}, "Average Gradient", "SEGradient");
    ESBPCSLabel15->setAttachAlignV(TESBLabelAttachAlignV::elvCenter);
    ESBPCSLabel15->setAttachMarginH(4);
    ESBPCSLabel15->setAttachMarginV(0);
    // Widened from 49 into the free space on its right, so "100.0000" reads whole.
    SEGradient = L.place<TESBFloatSpinEdit>(Loading, "SEGradient", {112, 72, 61, 21});
    SEGradient->setMin(InputByKey("gradient").Range.Min);
    SEGradient->setMax(InputByKey("gradient").Range.Max);
    SEGradient->setStep(0.001);
    SEGradient->setPageStep(10);
    SEGradient->setDecimalPlaces(4);
    SEGradient->setMaxLength(0);
    SEGradient->setTabStop(true);
    SEGradient->setValue(0);
    L.setTabOrder(SEGradient, 1);

    L.finish(this);
    UseNarrowFaceInTheBoxes(this);

    m_tabCycle.clear();
    chainTabOrder(this, m_tabCycle);
    for (std::size_t i = 1; i < m_tabCycle.size(); ++i)
        QWidget::setTabOrder(m_tabCycle[i - 1], m_tabCycle[i]);
    // The window opens with the focus on its first tab stop.
    m_tabCycle.front()->setFocus(Qt::OtherFocusReason);
}

bool TForm1::focusNextPrevChild(bool next)
{
    QWidget *target = NextTabStop(m_tabCycle, QApplication::focusWidget(), next);
    if (!target)
        return QWidget::focusNextPrevChild(next);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
