// The soak's events beyond the main window: the windows beside it, the truck
// files and the clipboard, through the truck actions as a user reaches them.

#include "SoakDriver.h"

#include "analysis/InputRanges.h"
#include "analysis/LifeCurve.h"
#include "analysis/TruckFile.h"
#include "ui/duty/DutyTable.h"
#include "ui/duty/DutyWindow.h"
#include "ui/form/Form1.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "ui/truck/TruckActions.h"
#include "ui/truck/TruckSession.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QtCharts/QChart>
#include <QtCharts/QXYSeries>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace
{

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

QByteArray jsonOf(const TTruck &truck)
{
    return QByteArray::fromStdString(TruckJson(truck));
}

// `text` with the first value of `key` replaced by `value`.
QByteArray withValue(QByteArray text, const char *key, const char *value)
{
    const QRegularExpression field(QStringLiteral("(\"%1\"\\s*:\\s*)([^,}\\]\\n]+)")
                                       .arg(QLatin1String(key)));
    QString s = QString::fromUtf8(text);
    const auto m = field.match(s);
    if (m.hasMatch())
        s.replace(m.capturedStart(2), m.capturedLength(2), QString::fromLatin1(value));
    return s.toUtf8();
}

// Values a duty cell must refuse, and some it must take.
const char *const kCellTexts[] = {
    "0",    "-0",     "-1",  "100",   "100.01", "1e309", "-1e309", "nan", "inf", "abc", "",
    "50",   "33.333", "4",   "5",     "3",      "6",     "4.5",    "1e-9", "0.01", "120",
    "-12",  "12",     "999999999999", "2,5", "1.2.3", "\u0661", " 7 ", "0x10", "-0.0001",
};

QString nonFinite(const QString &text)
{
    static const QRegularExpression bad(QStringLiteral("\\b(nan|inf)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return bad.match(text).hasMatch() ? text : QString();
}

} // namespace

void TSoakDriver::setUpProgram()
{
    // Quit closes the main window; the run shows it again and goes on, so the
    // application must not end when its last window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QDir().mkpath(m_folder);

    TTruck start;
    TTruck duty;
    duty.Duty = {{60, 55, TGear::Fifth, {}, {}}, {30, 30, TGear::Fourth, 2.0, 2000},
                 {10, 40, TGear::Fifth, -3.0, {}}};
    TTruck metric = duty;
    metric.SpeedInMph = false;
    metric.LifeInMiles = false;
    metric.Gear = TGear::Fourth;
    metric.Inputs.FinalDriveIndex = 4;
    TTruck emptied = start;
    emptied.LoadRating = 5000;
    const std::pair<const char *, TTruck> good[] = {
        {"start.json", start}, {"duty.json", duty}, {"metric.json", metric}, {"rating.json", emptied}};
    for (const auto &[name, truck] : good) {
        const QString path = QDir(m_folder).filePath(QString::fromLatin1(name));
        writeText(path, jsonOf(truck));
        m_goodFiles << path;
    }

    const QByteArray text = jsonOf(duty);
    const std::pair<const char *, QByteArray> bad[] = {
        {"empty.json", {}},
        {"brace.json", "{"},
        {"list.json", "[]"},
        {"words.json", "not a truck at all\n"},
        {"binary.json", QByteArray("\x00\xff\xfe{\x01", 5)},
        {"version0.json", withValue(text, "version", "0")},
        {"version99.json", withValue(text, "version", "99")},
        {"share.json", withValue(text, "share_pct", "0")},
        {"speed.json", withValue(text, "speed_mph", "-5")},
        {"gear.json", withValue(text, "gear", "3")},
        {"huge.json", withValue(text, "load", "1e999")},
        {"string.json", withValue(text, "engine", "\"two\"")},
        {"row.json", withValue(text, "final_drive", "99")},
        {"half.json", text.left(text.size() / 2)},
        {"big.json", text + QByteArray(int(MaxTruckFileBytes), ' ')},
    };
    for (const auto &[name, content] : bad) {
        const QString path = QDir(m_folder).filePath(QString::fromLatin1(name));
        writeText(path, content);
        m_badFiles << path;
    }
    m_badFiles << QDir(m_folder).filePath(QStringLiteral("missing.json")) << m_folder;

    TDialogs seam;
    seam.AskFile = [this](QWidget *, const QString &, const QString &, const QString &, bool) {
        return m_nextPaths.isEmpty() ? QString() : m_nextPaths.takeFirst();
    };
    seam.ShowProblem = [this](QWidget *, const QString &problem) {
        note(QStringLiteral("problem shown: %1").arg(problem.left(80)));
        if (problem.contains(QLatin1Char('\n')) || !nonFinite(problem).isEmpty())
            fail(QStringLiteral("a problem reads \"%1\"").arg(problem));
        m_problems << problem;
    };
    seam.AskSave = [this](QWidget *, const QString &) {
        ++m_counts.SaveQuestions;
        static const QMessageBox::StandardButton answers[] = {
            QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel};
        const QMessageBox::StandardButton answer = answers[pick(3)];
        // Saving a truck that has no file asks for one first.
        if (answer == QMessageBox::Save && m_actions->Session()->FilePath().isEmpty())
            m_nextPaths.prepend(QDir(m_folder).filePath(QStringLiteral("answer.json")));
        note(QStringLiteral("save question answered %1").arg(int(answer), 0, 16));
        return answer;
    };
    m_actions->setDialogs(std::move(seam));
}

void TSoakDriver::programEvent()
{
    const int r = pick(100);
    if (r < 8)
        toggleLifeMap();
    else if (r < 16)
        toggleDutyWindow();
    else if (r < 28)
        useLifeMap();
    else if (r < 48)
        useDutyWindow();
    else if (r < 56)
        openTruckFile();
    else if (r < 64)
        saveTruck();
    else if (r < 72)
        copyResults();
    else if (r < 74)
        quitAndReopen();
    else
        eventInSideWindow();
}

void TSoakDriver::toggleLifeMap()
{
    if (TLifeMapWindow *map = m_actions->LifeMap(); map && chance(0.6)) {
        note(QStringLiteral("close the life map"));
        map->close();
        return;
    }
    const bool wasOpen = m_actions->LifeMap() != nullptr;
    note(QStringLiteral("open the life map"));
    if (chance(0.5))
        m_actions->LifeMapAction->trigger();
    else
        QTest::keyClick(&m_form, Qt::Key_L, Qt::ControlModifier);
    if (!wasOpen && m_actions->LifeMap())
        ++m_counts.WindowsOpened;
}

void TSoakDriver::toggleDutyWindow()
{
    if (TDutyWindow *duty = m_actions->DutyWindow(); duty && chance(0.6)) {
        note(QStringLiteral("close the duty window"));
        duty->close();
        return;
    }
    const bool wasOpen = m_actions->DutyWindow() != nullptr;
    note(QStringLiteral("open the duty window"));
    if (chance(0.5))
        m_actions->DutyAction->trigger();
    else
        QTest::keyClick(&m_form, Qt::Key_D, Qt::ControlModifier);
    if (!wasOpen && m_actions->DutyWindow())
        ++m_counts.WindowsOpened;
}

void TSoakDriver::useLifeMap()
{
    TLifeMapWindow *map = m_actions->LifeMap();
    if (!map)
        return toggleLifeMap();
    const int r = pick(10);
    if (r < 5) {
        const int row = pick(map->Reliability->count());
        note(QStringLiteral("life map reliability row %1").arg(row));
        map->Reliability->setFocus();
        if (chance(0.5))
            map->Reliability->setCurrentIndex(row);
        else
            QTest::keyClick(map->Reliability, chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
    } else if (r < 9) {
        note(QStringLiteral("click Hold curve"));
        QTest::mouseClick(map->HoldCurve, Qt::LeftButton, {}, map->HoldCurve->rect().center());
    } else {
        // Rarely: a chart drawn to a file costs a whole render.
        static const char *const names[] = {"chart.png", "chart.svg", "chart", "no-folder/chart.png"};
        const QString name = QString::fromLatin1(names[pick(4)]);
        const QString path = chance(0.1) ? QString() : QDir(m_folder).filePath(name);
        m_nextPaths = QStringList{path};
        note(QStringLiteral("save the chart as \"%1\"").arg(name));
        m_problems.clear();
        QTest::mouseClick(map->SaveChart, Qt::LeftButton, {}, map->SaveChart->rect().center());
        if (!path.isEmpty() && m_problems.isEmpty())
            ++m_counts.FilesWritten;
        else if (!path.isEmpty())
            ++m_counts.WritesRefused;
    }
}

void TSoakDriver::useDutyWindow()
{
    TDutyWindow *duty = m_actions->DutyWindow();
    if (!duty)
        return toggleDutyWindow();
    const int r = pick(10);
    if (r < 2) {
        note(QStringLiteral("click Add segment"));
        // A long list costs every recompute; keep it to a size a user makes.
        if (duty->TableModel()->rowCount() < 12)
            QTest::mouseClick(duty->AddRow, Qt::LeftButton, {}, duty->AddRow->rect().center());
    } else if (r < 3) {
        note(QStringLiteral("click Remove segment"));
        QTest::mouseClick(duty->RemoveRow, Qt::LeftButton, {}, duty->RemoveRow->rect().center());
    } else if (r < 4) {
        const int row = pick(std::max(1, duty->TableModel()->rowCount()));
        note(QStringLiteral("select duty row %1").arg(row));
        duty->Table->selectRow(row);
    } else if (r < 5) {
        const int row = pick(duty->Reliability->count());
        note(QStringLiteral("duty reliability row %1").arg(row));
        duty->Reliability->setCurrentIndex(row);
    } else {
        editDutyCell();
    }
}

void TSoakDriver::editDutyCell()
{
    TDutyWindow *duty = m_actions->DutyWindow();
    TDutyTableModel *model = duty->TableModel();
    if (model->rowCount() == 0)
        return;
    const int row = pick(model->rowCount());
    const int column = pick(TDutyTableModel::Load + 1);
    const QModelIndex index = model->index(row, column);
    const QString text = QString::fromUtf8(kCellTexts[pick(int(std::size(kCellTexts)))]);
    ++m_counts.CellEdits;
    if (chance(0.4)) {
        // A value that reaches the table without its editor (as a paste would).
        note(QStringLiteral("set duty cell %1,%2 to \"%3\"").arg(row).arg(column).arg(text));
        model->setData(index, chance(0.5) ? QVariant(text) : QVariant(text.toDouble()));
        return;
    }
    // The editor, typed into as a user does.
    note(QStringLiteral("type \"%3\" into duty cell %1,%2").arg(row).arg(column).arg(text));
    duty->Table->setCurrentIndex(index);
    duty->Table->edit(index);
    QAbstractSpinBox *editor = nullptr;
    for (QAbstractSpinBox *box : duty->Table->viewport()->findChildren<QAbstractSpinBox *>())
        if (box->isVisible())
            editor = box;
    if (!editor)
        return;
    QPointer<QLineEdit> line = editor->findChild<QLineEdit *>();
    if (!line)
        return;
    if (chance(0.7))
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    SendChars(line, text);
    if (chance(0.2) && line)
        QTest::keyClick(line, chance(0.5) ? Qt::Key_Up : Qt::Key_PageDown);
    if (line)
        QTest::keyClick(line, chance(0.8) ? Qt::Key_Return : Qt::Key_Escape);
}

QString TSoakDriver::truckFileToOpen()
{
    const int r = pick(10);
    if (r < 4)
        return m_goodFiles[pick(int(m_goodFiles.size()))];
    if (r < 5) {
        // A file this run saved, or one with a few bytes changed.
        const QString path = QDir(m_folder).filePath(QStringLiteral("saved-%1.json").arg(pick(4)));
        if (chance(0.5) || !QFile::exists(path))
            return path;
        QFile f(path);
        QByteArray text = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        for (int i = 0, n = 1 + pick(3); i < n && !text.isEmpty(); ++i)
            text[pick(int(text.size()))] = char(pick(256));
        const QString mutant = QDir(m_folder).filePath(QStringLiteral("mutant.json"));
        writeText(mutant, text);
        return mutant;
    }
    return m_badFiles[pick(int(m_badFiles.size()))];
}

void TSoakDriver::openTruckFile()
{
    const QString path = truckFileToOpen();
    note(QStringLiteral("open \"%1\"").arg(QDir(m_folder).relativeFilePath(path)));
    TTruckSession &session = *m_actions->Session();
    const QString asked = chance(0.05) ? QString() : path; // now and then the dialog is cancelled
    m_nextPaths = QStringList{asked};
    m_problems.clear();
    if (chance(0.5))
        m_actions->OpenAction->trigger();
    else
        QTest::keyClick(&m_form, Qt::Key_O, Qt::ControlModifier);
    if (asked.isEmpty() || !m_nextPaths.isEmpty())
        return; // cancelled, or the truck was kept when asked to save it
    // Messages name the file as the user chose it.
    const bool refused = std::any_of(m_problems.begin(), m_problems.end(),
                                     [&](const QString &p) { return p.startsWith(asked); });
    if (!refused) {
        ++m_counts.FilesRead;
        // A file just opened is the truck, unchanged, even after the window took it.
        const auto read = ReadTruckFile(asked.toStdString());
        if (!std::holds_alternative<TTruck>(read))
            fail(QStringLiteral("\"%1\" opened though it reads as a problem").arg(asked));
        else if (!(std::get<TTruck>(read) == session.Truck()) || session.IsModified())
            fail(QStringLiteral("\"%1\" opened as a different truck").arg(asked));
        if (session.FilePath() != asked)
            fail(QStringLiteral("\"%1\" opened without a problem but the truck's file is \"%2\"")
                     .arg(asked, session.FilePath()));
    } else {
        ++m_counts.FilesRead;
        ++m_counts.FilesRefused;
        if (session.FilePath() == asked)
            fail(QStringLiteral("a refused file became the truck's file"));
    }
}

void TSoakDriver::saveTruck()
{
    TTruckSession &session = *m_actions->Session();
    const int r = pick(10);
    QString path;
    if (r < 7)
        path = QDir(m_folder).filePath(QStringLiteral("saved-%1.json").arg(pick(4)));
    else if (r < 8)
        path = QDir(m_folder).filePath(QStringLiteral("no-folder/saved.json"));
    else if (r < 9)
        path = m_folder; // a folder, not a file
    m_nextPaths = QStringList{path};
    m_problems.clear();
    const bool asAs = chance(0.7) || session.FilePath().isEmpty();
    note(QStringLiteral("save%1 to \"%2\"").arg(asAs ? QStringLiteral(" as") : QString(), path));
    if (asAs)
        QTest::keyClick(&m_form, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    else
        m_actions->SaveAction->trigger();
    const QString saved = asAs ? path : session.FilePath();
    if (!m_problems.isEmpty()) {
        ++m_counts.WritesRefused;
        return;
    }
    if (saved.isEmpty())
        return; // cancelled
    ++m_counts.FilesWritten;
    if (session.FilePath() != saved || session.IsModified())
        fail(QStringLiteral("saved to \"%1\" but the truck's file is \"%2\"%3")
                 .arg(saved, session.FilePath(),
                      session.IsModified() ? QStringLiteral(", modified") : QString()));
    const auto read = ReadTruckFile(saved.toStdString());
    if (!std::holds_alternative<TTruck>(read) || !(std::get<TTruck>(read) == session.Truck()))
        fail(QStringLiteral("\"%1\" does not read back as the truck saved").arg(saved));
}

void TSoakDriver::copyResults()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    note(QStringLiteral("copy results"));
    if (chance(0.5))
        m_form.ActionCopyResults->trigger();
    else
        QTest::keyClick(&m_form, Qt::Key_C, Qt::ControlModifier);
    const QString text = clipboard->text();
    if (text.isEmpty())
        return; // Ctrl+C went to an edit that had the focus
    ++m_counts.Copies;
    // The lists' lines hold whatever was typed over them; every other value is a number.
    static const QStringList lists = {QStringLiteral("Engine"), QStringLiteral("final drive gear ratio"),
                                      QStringLiteral("tyre size"), QStringLiteral("Unladen Weight")};
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (lists.contains(line.section(QLatin1Char('\t'), 0, 0)))
            continue;
        if (!nonFinite(line.section(QLatin1Char('\t'), 1, 1)).isEmpty())
            return fail(QStringLiteral("copied results hold a non-finite number:\n%1").arg(text));
    }
}

void TSoakDriver::quitAndReopen()
{
    note(QStringLiteral("Ctrl+Q"));
    QTest::keyClick(&m_form, Qt::Key_Q, Qt::ControlModifier);
    if (!m_form.isVisible()) {
        // The program would end here; the run starts it again on the same truck.
        m_form.show();
        m_form.activateWindow();
    }
}

void TSoakDriver::eventInSideWindow()
{
    QWidget *windows[] = {m_actions->LifeMap(), m_actions->DutyWindow()};
    QWidget *w = windows[pick(2)];
    if (!w)
        return;
    QPointer<QWidget> guard(w);
    const int x = pick(std::max(1, w->width()));
    const int y = pick(std::max(1, w->height()));
    QWidget *target = w->childAt(x, y);
    if (!target)
        target = w;
    const QPoint at = target->mapFrom(w, QPoint(x, y));
    if (chance(0.6)) {
        note(QStringLiteral("click %1 in %2 at %3,%4")
                 .arg(target->metaObject()->className(), w->objectName())
                 .arg(x)
                 .arg(y));
        if (chance(0.2))
            QTest::mouseDClick(target, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(target, chance(0.9) ? Qt::LeftButton : Qt::RightButton, {}, at);
    } else {
        pressKey(QApplication::focusWidget() && QApplication::focusWidget()->window() == w
                     ? QApplication::focusWidget()
                     : target);
    }
}

QString TSoakDriver::CheckProgramInvariants(TTruckActions &actions)
{
    TTruckSession &session = *actions.Session();
    auto inRange = [](const char *key, double v) {
        const TInputRange *range = FindDutyRange(key);
        return range && range->Contains(v);
    };
    for (const TDutySegment &s : session.Truck().Duty) {
        if (!inRange("share_pct", s.SharePct) || !inRange("speed_mph", s.SpeedMph) ||
            (s.Gradient && !inRange("gradient", *s.Gradient)) ||
            (s.Load && !inRange("load", *s.Load)))
            return QStringLiteral("a duty segment outside its ranges: %1 %, %2 mph")
                .arg(s.SharePct)
                .arg(s.SpeedMph);
    }
    if (TDutyWindow *duty = actions.DutyWindow()) {
        const TDutyTableModel *model = duty->TableModel();
        if (session.DutyEdited() && model->Segments() != session.Truck().Duty)
            return QStringLiteral("the duty table and the truck's list differ");
        if (const auto life = duty->CombinedLife(); life && !(std::isfinite(*life) && *life >= 0))
            return QStringLiteral("combined life %1").arg(*life);
        for (const QLabel *label : {duty->Combined, duty->Problem})
            if (!nonFinite(label->text()).isEmpty())
                return QStringLiteral("the duty window reads \"%1\"").arg(label->text());
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QString cell = model->data(model->index(row, column)).toString();
                if (!nonFinite(cell).isEmpty())
                    return QStringLiteral("duty cell %1,%2 reads \"%3\"").arg(row).arg(column).arg(cell);
            }
    }
    if (TLifeMapWindow *map = actions.LifeMap()) {
        // Holding a curve replaces the one held before; the chart never piles them up.
        if (map->Chart()->series().size() > 3 * LifeMap::CurvePoints + 1)
            return QStringLiteral("the life map has %1 series").arg(map->Chart()->series().size());
        for (QAbstractSeries *series : map->Chart()->series())
            if (auto *xy = qobject_cast<QXYSeries *>(series))
                for (const QPointF &p : xy->points())
                    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
                        return QStringLiteral("the life map's \"%1\" has a point at %2, %3")
                            .arg(series->name())
                            .arg(p.x())
                            .arg(p.y());
    }
    return {};
}

void TSoakDriver::checkProgram()
{
    // Closed windows are destroyed; at most one of each is ever open.
    const int maps = int(m_form.findChildren<TLifeMapWindow *>(Qt::FindDirectChildrenOnly).size());
    const int duties = int(m_form.findChildren<TDutyWindow *>(Qt::FindDirectChildrenOnly).size());
    if (maps > 1 || duties > 1)
        return fail(QStringLiteral("%1 life maps and %2 duty windows").arg(maps).arg(duties));
    const QString broken = CheckProgramInvariants(*m_actions);
    if (!broken.isEmpty())
        fail(broken);
}
