#include "ui/support/FormFixture.h"

#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "model/VehicleTables.h"
#include "widgets/button/oxBtns.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

TEST(FormLayout, WindowIsAFixedSizeUnmaximisableWindow)
{
    FormDriver d;
    TForm1 &f = d.form();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Velmora"));
    EXPECT_EQ(f.objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(f.size(), QSize(701, 600));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(QFontMetrics(f.font()).height(), 13);
    EXPECT_EQ(f.Timer1->interval(), 50);
}

TEST(FormLayout, ControlsSitAtTheirPlaces)
{
    FormDriver d;
    TForm1 &f = d.form();
    EXPECT_EQ(f.GroupBox6->geometry(), QRect(456, 192, 225, 193));
    EXPECT_EQ(f.GroupBox6->title(), QStringLiteral("Input Bearing"));
    EXPECT_EQ(f.ComboEngine->parentWidget(), f.GroupBox2);
    EXPECT_EQ(f.ComboEngine->geometry(), QRect(16, 32, 201, 21));
    EXPECT_EQ(f.NumLabIPBLife10->geometry(), QRect(10, 161, 208, 20));
    EXPECT_EQ(f.NumLabIPBLife10->ColorLabText(), clYellow);
    EXPECT_EQ(f.BtnBoostMe->geometry(), QRect(336, 360, 73, 65));
    EXPECT_EQ(f.BtnBoostMe->Caption(), QStringLiteral("&Boost")); // shown "Boost", B underlined
    EXPECT_EQ(f.BtnBoostMe->ButtonType(), ToxButtonType::oxbToggle);
    EXPECT_EQ(f.MeterRpm->geometry(), QRect(168, 456, 153, 137));
    EXPECT_EQ(f.MeterRpm->MeterMaxValue(), 5000);
    EXPECT_EQ(f.MeterSpeed->Caption(), QStringLiteral("mph"));
    EXPECT_EQ(f.SELoad->geometry().topLeft(), QPoint(112, 48));
    EXPECT_EQ(double(f.SELoad->Min()), 0);
    EXPECT_EQ(double(f.SELoad->Max()), 3000);
    EXPECT_EQ(double(f.SEGradient->Min()), 0); // a segment may go downhill; the truck's box not
    EXPECT_EQ(double(f.SEGradient->Max()), 100);
    EXPECT_EQ(f.EditDynLoadRating->ThousandSeparators(), TESBSeparatorStyle::essAuto);
    EXPECT_EQ(f.TBGasPedal->maximum(), 100);
    EXPECT_EQ(f.PBPercTorque->value(), 0);
    EXPECT_TRUE(f.RBFifth->isChecked());
    EXPECT_FALSE(f.RBFourth->isChecked());

    // The lists hold the tables' texts exactly, blanks and all.
    ASSERT_EQ(f.ComboEngine->count(), 3);
    EXPECT_EQ(f.ComboEngine->itemText(2), text(VehicleTables::EngineListTexts()[2]));
    EXPECT_EQ(f.ComboTyreSize->count(), 17);
    EXPECT_EQ(f.ComboTyreSize->itemText(16), QStringLiteral("33.0\""));
    EXPECT_EQ(f.ComboKerbWeight->itemText(3), text(VehicleTables::KerbWeightListTexts()[3]));
    EXPECT_TRUE(f.ComboKerbWeight->isEditable());
}

TEST(FormLayout, EveryCaptionKeepsBesideItsControl)
{
    FormDriver d;
    const auto labels = d.form().findChildren<TESBPCSLabel *>();
    ASSERT_EQ(labels.size(), 18);
    for (TESBPCSLabel *l : labels) {
        SCOPED_TRACE(l->objectName().toStdString());
        QWidget *c = l->AttachToControl();
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(l->FocusControl(), c);
        EXPECT_EQ(l->parentWidget(), c->parentWidget());
        EXPECT_EQ(l->pos(),
                  ESBAttachedLabelPos(c->geometry(), l->size(), l->AttachType(), l->AttachAlignH(),
                                      l->AttachAlignV(), l->AttachMarginH(), l->AttachMarginV()));
    }
    // Margins listed after an alignment win; unlisted ones keep 2 or were reset.
    TForm1 &f = d.form();
    EXPECT_EQ(f.ESBPCSLabel14->AttachMarginH(), 4);
    EXPECT_EQ(f.ESBPCSLabel14->AttachMarginV(), 0);
    EXPECT_EQ(f.ESBPCSLabel14->x() + f.ESBPCSLabel14->width() + 4, 112);
    EXPECT_EQ(f.ESBPCSLabel16->AttachMarginV(), 2);
    EXPECT_EQ(f.ESBPCSLabel16->y(), 496 + 16 + 2);
    EXPECT_EQ(f.ESBPCSLabel17->y(), 552 + 9 + 2);
    EXPECT_LE(std::abs(2 * f.ESBPCSLabel17->x() + f.ESBPCSLabel17->width() - (2 * 368 + 281)), 1);
    EXPECT_EQ(f.ESBPCSLabel7->y(), 124 + 21);
}

TEST(FormStartUp, ListsShowFirstEntriesAndReadoutsTheirLayoutState)
{
    FormDriver d;
    TForm1 &f = d.form();
    EXPECT_EQ(f.ComboEngine->ItemIndex(), 0);
    EXPECT_EQ(f.ComboEngine->Text(), text(VehicleTables::EngineListTexts()[0]));
    EXPECT_EQ(f.ComboFinalRatio->Text(), text(VehicleTables::FinalDriveListTexts()[0]));
    EXPECT_EQ(f.ComboTyreSize->Text(), QStringLiteral("25.0\""));
    EXPECT_EQ(f.ComboKerbWeight->ItemIndex(), 0);

    EXPECT_TRUE(f.NumLabPower->Empty());
    EXPECT_TRUE(f.NumLabTorque->Empty());
    EXPECT_FALSE(f.NumLabSpeed->Empty());
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clBtnFace);
    EXPECT_EQ(f.NumLabSpeed->ColorLabText(), clBlack);

    // The model is in its start-up state and nothing was refreshed.
    const TDriveModel &m = d.model();
    EXPECT_EQ(m.EngineRpm, 10);
    EXPECT_EQ(m.Gear, TGear::Fifth);
    EXPECT_TRUE(m.RecalcFlag);
    EXPECT_DOUBLE_EQ(m.OverdriveRatio, 0.813);
    EXPECT_DOUBLE_EQ(m.Load, 50);
    EXPECT_DOUBLE_EQ(m.RollingResistance, 45);
    EXPECT_DOUBLE_EQ(m.PitchCircleRadius, 1.11);
    EXPECT_DOUBLE_EQ(m.FinalDriveRatio, 3.889);
    EXPECT_EQ(m.Engine.Code, "SD22");
    EXPECT_EQ(m.RoadSpeed, 0);
}

TEST(FormStartUp, FirstTickFillsTheReadoutsWhiteOnRed)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.tick();
    EXPECT_FALSE(f.NumLabPower->Empty());
    EXPECT_FALSE(f.NumLabTorque->Empty());
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clRed);
    EXPECT_EQ(f.NumLabSpeed->ColorLabText(), clWhite);
    EXPECT_EQ(f.NumLabRpm->Value(), 10);
    EXPECT_DOUBLE_EQ(f.NumLabResistance->Value(), d.model().Resistance);
    // The truck cannot start in fifth: the engine falls to rest and stays.
    EXPECT_EQ(d.model().EngineRpm, 0);
    d.pedal(60);
    d.tick(20);
    EXPECT_EQ(d.model().EngineRpm, 0);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clRed);
}

} // namespace
