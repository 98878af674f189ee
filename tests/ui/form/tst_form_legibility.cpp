#include "ui/support/FormFixture.h"

#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QGroupBox>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace
{

// The caret's x in a line edit as last painted: the middle of the cursor
// rectangle it reports to input methods.
int caretAt(QLineEdit *e, int pos)
{
    const int old = e->cursorPosition();
    e->setCursorPosition(pos);
    e->repaint(); // the line edit scrolls its text when it paints
    const QRect r = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    e->setCursorPosition(old);
    return r.left() + r.width() / 2;
}

// The whole text is on show: from the first character to the last the caret
// travels the text's full advance, and both ends lie inside the edit's
// frame (2 pixels each side), so nothing is scrolled out.
void expectWholeText(QLineEdit *e, const QString &what)
{
    const QString text = e->text();
    e->setCursorPosition(0);
    const int first = caretAt(e, 0);
    const int last = caretAt(e, int(text.size()));
    const int advance = e->fontMetrics().horizontalAdvance(text);
    const std::string label =
        what.toStdString() + " \"" + text.toStdString() + "\" from " + std::to_string(first);
    EXPECT_EQ(last - first, advance) << label;
    EXPECT_GE(first, 2) << label;
    EXPECT_LE(last, e->width() - 3) << label;
}

struct Value {
    const char *name;
    std::function<void(TForm1 &)> set;
};

class FormLegibility : public ::testing::Test
{
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(FormLegibility, EveryEditShowsItsWholeTextAtStartUpAndAtTheWidestValues)
{
    FormDriver d;
    TForm1 &f = d.form();
    auto edits = [&] {
        std::vector<std::pair<QLineEdit *, QString>> all;
        for (auto *e : f.findChildren<TESBCustomEdit *>())
            all.emplace_back(e, e->objectName().isEmpty() ? e->parentWidget()->objectName()
                                                          : e->objectName());
        return all;
    };
    for (auto &[e, name] : edits())
        expectWholeText(e, QStringLiteral("start-up ") + name);

    f.EditOverDriveRatio->setAsFloat(0.813L);
    f.SEGradient->setValue(0.125L);
    f.SELoad->setValue(3000);
    f.EditDynLoadRating->setAsFloat(12345);
    f.EditRollingResistance->setAsInteger(120);
    f.EditFrontalArea->setAsFloat(22.5L);
    f.EditDragCoef->setAsFloat(0.65L);
    f.EditTransmissionLoss->setAsFloat(0.17L);
    for (auto &[e, name] : edits())
        expectWholeText(e, QStringLiteral("widest ") + name);
    EXPECT_EQ(f.EditDynLoadRating->text(), "12,345");

    f.SEGradient->setValue(100);
    EXPECT_EQ(f.SEGradient->editor()->text(), "100.0000");
    expectWholeText(f.SEGradient->editor(), QStringLiteral("gradient at 100"));
}

TEST_F(FormLegibility, CaptionsStayInsideTheirGroupAndOffOtherControls)
{
    FormDriver d;
    TForm1 &f = d.form();
    for (TESBPCSLabel *l : f.findChildren<TESBPCSLabel *>()) {
        QWidget *parent = l->parentWidget();
        const QString name = l->objectName();
        // The caption's inked width, not its box: what the reader sees.
        const QRect ink(l->pos(),
                        QSize(l->fontMetrics().horizontalAdvance(l->Caption()), l->height()));
        if (auto *group = qobject_cast<QGroupBox *>(parent)) {
            // Clear of the frame's two lines on either side and of the title.
            const QRect inside = group->rect().adjusted(3, l->fontMetrics().height(), -3, -3);
            EXPECT_TRUE(inside.contains(ink)) << name.toStdString();
        }
        for (QWidget *other : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (other == l || !other->isVisible())
                continue;
            EXPECT_FALSE(ink.intersects(other->geometry()))
                << name.toStdString() << " runs over " << other->objectName().toStdString();
        }
    }
}

} // namespace
