#include "widgets/input/ESBPCSLabel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace
{

using AT = TESBLabelAttachType;
using AH = TESBLabelAttachAlignH;
using AV = TESBLabelAttachAlignV;

// A shown parent with one control of the given geometry and a fixed-size
// label (no auto-size, so the geometry is the one of the examples).
struct Rig {
    std::unique_ptr<QWidget> parent = std::make_unique<QWidget>();
    QWidget *control;
    TESBPCSLabel *label;

    Rig(QRect controlGeometry, QSize labelSize, bool show = true)
    {
        parent->resize(701, 600);
        control = new QWidget(parent.get());
        control->setGeometry(controlGeometry);
        label = new TESBPCSLabel(parent.get());
        label->setAutoSize(false);
        label->resize(labelSize);
        if (show)
            parent->show();
    }
};

// ---- the placement rule alone ---------------------------------------------

struct PosCase {
    QRect control;
    QSize label;
    AT type;
    AH alignH;
    AV alignV;
    int marginH, marginV;
    QPoint expected;
};

class AttachedPos : public ::testing::TestWithParam<PosCase>
{
};

TEST_P(AttachedPos, PlacesTheLabel)
{
    const PosCase &c = GetParam();
    EXPECT_EQ(
        ESBAttachedLabelPos(c.control, c.label, c.type, c.alignH, c.alignV, c.marginH, c.marginV),
        c.expected);
}

const QRect kBox(100, 50, 60, 21);
const QSize kLab(20, 13);

INSTANTIATE_TEST_SUITE_P(
    SidesAndAlignments, AttachedPos,
    ::testing::Values(
        // The window's own captions.
        PosCase{
            {112, 48, 49, 21}, {46, 13}, AT::elaLeft, AH::elhCenter, AV::elvCenter, 4, 0, {62, 52}},
        PosCase{{96, 24, 33, 21}, {87, 13}, AT::elaLeft, AH::elhLeft, AV::elvTop, 4, 2, {5, 26}},
        PosCase{{368, 552, 281, 9},
                {49, 13},
                AT::elaBottom,
                AH::elhCenter,
                AV::elvTop,
                0,
                2,
                {484, 563}},
        // Each side; the margin on the alignment axis is added even for
        // right and bottom alignment.
        PosCase{kBox, kLab, AT::elaRight, AH::elhLeft, AV::elvBottom, 3, 1, {163, 59}},
        PosCase{kBox, kLab, AT::elaTop, AH::elhRight, AV::elvTop, 1, 2, {141, 35}},
        PosCase{kBox, kLab, AT::elaTop, AH::elhLeft, AV::elvTop, 0, 0, {100, 37}},
        PosCase{kBox, kLab, AT::elaBottom, AH::elhRight, AV::elvTop, -2, 5, {138, 76}},
        // Centred, the margin along the side still moves the label.
        PosCase{kBox, kLab, AT::elaLeft, AH::elhLeft, AV::elvCenter, 3, 2, {77, 56}},
        PosCase{kBox, kLab, AT::elaTop, AH::elhCenter, AV::elvTop, -3, 1, {117, 36}},
        // The halving truncates toward zero when the label is the larger.
        PosCase{
            {10, 10, 20, 10}, {25, 13}, AT::elaBottom, AH::elhCenter, AV::elvTop, 0, 0, {8, 20}},
        PosCase{
            {10, 10, 20, 10}, {25, 13}, AT::elaLeft, AH::elhLeft, AV::elvCenter, 0, 0, {-15, 9}}));

// ---- attached to a live control -------------------------------------------

TEST(Label, DefaultsAndPropertyRoundTrip)
{
    TESBPCSLabel l;
    EXPECT_EQ(l.AttachToControl(), nullptr);
    EXPECT_EQ(l.AttachType(), AT::elaLeft);
    EXPECT_EQ(l.AttachAlignH(), AH::elhLeft);
    EXPECT_EQ(l.AttachAlignV(), AV::elvTop);
    EXPECT_EQ(l.AttachMarginH(), 2);
    EXPECT_EQ(l.AttachMarginV(), 2);
    EXPECT_EQ(l.LabelStyle(), TESBLabelStyle::elsNormal);
    EXPECT_FALSE(l.HotTrack());
    EXPECT_TRUE(l.HotUnderline());
    EXPECT_EQ(l.HotColor(), 0x8000000Du);
    EXPECT_EQ(l.property("Version").toString(), QStringLiteral("2.3.1"));
    EXPECT_TRUE(l.AutoSize());
    EXPECT_TRUE(l.ShowAccelChar());
    EXPECT_FALSE(l.Transparent());
    EXPECT_FALSE(l.WordWrap());
    EXPECT_TRUE(l.ParentColor());
    EXPECT_EQ(l.Color(), 0x80000005u);
    EXPECT_EQ(l.Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(l.Layout(), TTextLayout::tlTop);

    // Through the meta-object, as a layout loader would set them.
    EXPECT_TRUE(l.setProperty("AttachType", QVariant::fromValue(AT::elaBottom)));
    EXPECT_EQ(l.AttachType(), AT::elaBottom);
    EXPECT_TRUE(l.setProperty("AttachMarginV", 7));
    EXPECT_EQ(l.property("AttachMarginV").toInt(), 7);
    EXPECT_TRUE(l.setProperty("Caption", QStringLiteral("Load (lbs)")));
    EXPECT_EQ(l.Caption(), QStringLiteral("Load (lbs)"));
    l.setColor(0x00FF00);
    EXPECT_EQ(l.Color(), 0x00FF00u);
    EXPECT_FALSE(l.ParentColor());
}

TEST(Label, SELoadCaptionInStoredOrder)
{
    Rig r({112, 48, 49, 21}, {46, 13});
    r.label->setAttachToControl(r.control);
    r.label->setAttachAlignH(AH::elhCenter);
    r.label->setAttachAlignV(AV::elvCenter);
    r.label->setAttachMarginH(4);
    r.label->setAttachMarginV(0);
    EXPECT_EQ(r.label->pos(), QPoint(62, 52));
    EXPECT_EQ(r.label->FocusControl(), r.control);
}

TEST(Label, ControlResolvedLastGivesTheSamePlace)
{
    // Labels listed before their controls learn the control at the end.
    Rig r({96, 24, 33, 21}, {87, 13}, false);
    r.label->move(5, 30);
    r.label->setAttachMarginH(4);
    r.label->setAttachToControl(r.control);
    EXPECT_EQ(r.label->pos(), QPoint(5, 26));
}

TEST(Label, AlignmentWriteResetsItsMarginOnly)
{
    Rig r({368, 552, 281, 9}, {49, 13});
    r.label->setAttachToControl(r.control);
    r.label->setAttachType(AT::elaBottom);
    r.label->setAttachMarginV(5);
    r.label->setAttachMarginH(3);
    r.label->setAttachAlignV(AV::elvCenter);
    EXPECT_EQ(r.label->AttachMarginV(), 0);
    EXPECT_EQ(r.label->AttachMarginH(), 3);
    r.label->setAttachMarginV(2);
    r.label->setAttachAlignV(AV::elvCenter); // same value: margin stays
    EXPECT_EQ(r.label->AttachMarginV(), 2);
    r.label->setAttachAlignH(AH::elhCenter);
    EXPECT_EQ(r.label->AttachMarginH(), 0);
    EXPECT_EQ(r.label->pos(), QPoint(484, 563));
}

TEST(Label, FollowsMovesAndResizesHiddenOrNotAndStaysWhenItsControlHides)
{
    Rig r({368, 552, 281, 9}, {49, 13});
    r.label->setAttachToControl(r.control);
    r.label->setAttachAlignH(AH::elhCenter);
    r.label->setAttachType(AT::elaBottom);
    ASSERT_EQ(r.label->pos(), QPoint(484, 563));

    r.control->move(300, 500);
    EXPECT_EQ(r.label->pos(), QPoint(416, 511));
    r.control->resize(101, 20);
    EXPECT_EQ(r.label->pos(), QPoint(326, 522));
    r.control->setGeometry(10, 10, 50, 10);
    EXPECT_EQ(r.label->pos(), QPoint(10, 22));

    r.control->hide();
    EXPECT_EQ(r.label->pos(), QPoint(10, 22));
    EXPECT_TRUE(r.label->isVisible());

    // A hidden control reports no moves, yet its caption keeps beside it.
    auto labelReaches = [&](QPoint p) {
        return QTest::qWaitFor([&] { return r.label->pos() == p; }, 5000);
    };
    r.control->move(40, 60);
    EXPECT_TRUE(labelReaches({40, 72}));
    r.control->resize(80, 30);
    EXPECT_TRUE(labelReaches({55, 92}));
    r.control->show();
    r.control->move(0, 0);
    EXPECT_EQ(r.label->pos(), QPoint(15, 32));
}

TEST(Label, CannotBeMovedAwayAndFollowsItsOwnResize)
{
    Rig r({112, 48, 49, 21}, {46, 13});
    r.label->setAttachToControl(r.control);
    r.label->setAttachAlignV(AV::elvCenter);
    r.label->setAttachMarginH(4);
    r.label->move(0, 0);
    EXPECT_EQ(r.label->pos(), QPoint(62, 52));
    r.label->resize(60, 15);
    EXPECT_EQ(r.label->geometry(), QRect(48, 51, 60, 15));
}

TEST(Label, CentredAutoSizedCaptionStaysCentred)
{
    Rig r({376, 496, 265, 16}, {10, 10});
    r.label->setAutoSize(true);
    r.label->setCaption(QStringLiteral("Percentage Torque Unused"));
    r.label->setAttachToControl(r.control);
    r.label->setAttachAlignH(AH::elhCenter);
    r.label->setAttachType(AT::elaBottom);
    auto centre = [&] { return r.label->x() * 2 + r.label->width(); };
    const int controlCentre = 376 * 2 + 265;
    EXPECT_LE(std::abs(centre() - controlCentre), 1);

    const int before = r.label->width();
    r.label->setCaption(QStringLiteral("Unused"));
    ASSERT_LT(r.label->width(), before);
    EXPECT_LE(std::abs(centre() - controlCentre), 1);
    EXPECT_EQ(r.label->y(), 496 + 16 + 2);
}

TEST(Label, AutoSizeOfAnEmptyCaptionIsOneBlank)
{
    TESBPCSLabel l;
    const QFontMetrics fm(l.font());
    const QSize blank = fm.boundingRect(QRect(), Qt::TextSingleLine, QStringLiteral(" ")).size();
    l.setCaption(QString());
    EXPECT_EQ(l.size(), blank);
    EXPECT_GT(l.height(), 0);
    l.setCaption(QStringLiteral("&"));
    EXPECT_EQ(l.size(), blank);
    l.setCaption(QStringLiteral("Gas Pedal"));
    EXPECT_GT(l.width(), blank.width());
    EXPECT_EQ(l.height(), blank.height());
}

TEST(Label, DetachingAndDestroyingTheControl)
{
    Rig r({112, 48, 49, 21}, {46, 13});
    auto *other = new QWidget(r.parent.get());
    r.label->setAttachToControl(r.control);
    r.label->setFocusControl(other);
    r.label->setAttachToControl(r.control); // same control: focus control set again
    EXPECT_EQ(r.label->FocusControl(), r.control);

    delete r.control;
    EXPECT_EQ(r.label->AttachToControl(), nullptr);
    EXPECT_EQ(r.label->FocusControl(), nullptr);
    EXPECT_EQ(r.label->pos(), QPoint(64, 50));
    EXPECT_TRUE(r.label->isVisible());

    // Attaching none stops observation.
    r.label->setAttachToControl(other);
    other->move(300, 300);
    const QPoint placed = r.label->pos();
    r.label->setAttachToControl(nullptr);
    EXPECT_EQ(r.label->FocusControl(), nullptr);
    other->move(10, 10);
    EXPECT_EQ(r.label->pos(), placed);
    r.label->move(1, 1);
    EXPECT_EQ(r.label->pos(), QPoint(1, 1));
}

TEST(Label, LabelDestroyedBeforeItsControl)
{
    // Two captions on one control; the first goes. Its event filter and its
    // destroyed connection must go with it: the control keeps moving, the
    // other caption keeps following, and the control's end reaches only the
    // live caption (a dangling one would be a use after free).
    Rig r({112, 48, 49, 21}, {46, 13});
    auto *other = new TESBPCSLabel(r.parent.get());
    other->setAutoSize(false);
    other->resize(46, 13);
    r.label->setAttachToControl(r.control);
    other->setAttachToControl(r.control);
    const QPoint start = other->pos();
    delete r.label;
    r.control->move(212, 148);
    EXPECT_EQ(r.control->pos(), QPoint(212, 148));
    EXPECT_EQ(other->pos(), start + QPoint(100, 100));
    delete r.control;
    EXPECT_EQ(other->AttachToControl(), nullptr);
    EXPECT_EQ(other->FocusControl(), nullptr);
}

TEST(Label, AcceleratorFocusesTheControl)
{
    QWidget w;
    auto *edit = new QLineEdit(&w);
    auto *other = new QLineEdit(&w);
    edit->setGeometry(100, 10, 50, 21);
    other->setGeometry(100, 40, 50, 21);
    auto *label = new TESBPCSLabel(&w);
    label->setCaption(QStringLiteral("&Load"));
    label->setAttachToControl(edit);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    other->setFocus();
    QTest::keyClick(&w, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());

    // Without ShowAccelChar the "&" is text and no key is taken.
    other->setFocus();
    label->setShowAccelChar(false);
    QTest::keyClick(&w, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(other->hasFocus());
}

TEST(Label, HotTrackingSwapsColourAndUnderline)
{
    TESBPCSLabel l;
    l.setCaption(QStringLiteral("hot"));
    l.setFontColor(0x0000FF);
    QSignalSpy enter(&l, &TESBCustomLabel::OnMouseEnter);
    QSignalSpy exitSpy(&l, &TESBCustomLabel::OnMouseExit);

    QEnterEvent in(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent out(QEvent::Leave);
    QApplication::sendEvent(&l, &in);
    EXPECT_TRUE(l.MouseInside());
    EXPECT_EQ(l.FontColor(), 0x0000FFu); // no hot tracking: untouched
    QApplication::sendEvent(&l, &out);
    EXPECT_FALSE(l.MouseInside());

    l.setHotTrack(true);
    l.setHotColor(0x00FF00);
    QApplication::sendEvent(&l, &in);
    EXPECT_EQ(l.FontColor(), 0x00FF00u);
    EXPECT_TRUE(l.font().underline());
    QApplication::sendEvent(&l, &out);
    EXPECT_EQ(l.FontColor(), 0x0000FFu);
    EXPECT_FALSE(l.font().underline());

    l.setHotUnderline(false);
    QFont f = l.font();
    f.setUnderline(true);
    l.setFont(f);
    QApplication::sendEvent(&l, &in);
    EXPECT_FALSE(l.font().underline());
    QApplication::sendEvent(&l, &out);
    EXPECT_TRUE(l.font().underline());

    EXPECT_EQ(enter.count(), 3);
    EXPECT_EQ(exitSpy.count(), 3);
}

int countColour(const QImage &img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == c.rgb();
    return n;
}

TEST(Label, RaisedSunkenAndDisabledText)
{
    TESBPCSLabel l;
    QFont f = l.font();
    f.setStyleStrategy(QFont::NoAntialias); // exact pixel colours
    l.setFont(f);
    l.setCaption(QStringLiteral("MMM"));
    l.resize(l.width() + 4, l.height() + 4);
    l.setAutoSize(false);
    l.setAlignment(TAlignment::taCenter);
    l.setLayout(TTextLayout::tlCenter);
    l.setFontColor(0x0000FF);
    const QColor red(255, 0, 0);
    const QColor light = l.palette().color(QPalette::Light);
    const QColor dark = l.palette().color(QPalette::Dark);

    QImage normal = l.renderImage();
    EXPECT_GT(countColour(normal, red), 0);
    EXPECT_EQ(countColour(normal, light), 0);

    l.setLabelStyle(TESBLabelStyle::elsRaised);
    QImage raised = l.renderImage();
    EXPECT_GT(countColour(raised, light), 0);
    EXPECT_GT(countColour(raised, dark), 0);
    // The raised shadow sits below-right of the text: the last text row's
    // shadow is lower than any highlight pixel.
    auto lowest = [](const QImage &img, QColor c) {
        for (int y = img.height() - 1; y >= 0; --y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == c.rgb())
                    return y;
        return -1;
    };
    EXPECT_GT(lowest(raised, dark), lowest(raised, light));
    l.setLabelStyle(TESBLabelStyle::elsSunken);
    QImage sunken = l.renderImage();
    EXPECT_GT(lowest(sunken, light), lowest(sunken, dark));

    l.setLabelStyle(TESBLabelStyle::elsNormal);
    l.setEnabled(false);
    QImage disabled = l.renderImage();
    EXPECT_EQ(countColour(disabled, red), 0);
    EXPECT_GT(countColour(disabled, l.palette().color(QPalette::Disabled, QPalette::Text)), 0);

    // An opaque label with its own colour fills its background.
    l.setColor(0x00FF00);
    EXPECT_EQ(l.renderImage().pixelColor(0, 0), QColor(0, 255, 0));
    l.setTransparent(true);
    EXPECT_NE(l.renderImage().pixelColor(0, 0), QColor(0, 255, 0));
}

} // namespace
