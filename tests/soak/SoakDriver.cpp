#include "SoakDriver.h"
#include "SoakMemory.h"
#include "ui/truck/TruckActions.h"

#include "ui/form/About.h"
#include "model/DisplayValues.h"
#include "model/EIBError.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "ui/form/Form1.h"
#include "widgets/button/oxBtns.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// The texts the error box may show: the model's own messages for a list
// entry outside its table, each with its full stop.
const QStringList &errorBoxTexts()
{
    static const QStringList texts = [] {
        QStringList out;
        TDriveModel m;
        const std::function<void()> selects[] = {
            [&] { m.SelectEngine(-1); }, [&] { m.SelectFinalDrive(-1); },
            [&] { m.SelectTyreSize(-1); }, [&] { m.SelectKerbWeight(-1); }};
        for (const auto &select : selects) {
            try {
                select();
            } catch (const EIBError &e) {
                out << QString::fromStdString(WithFullStop(e.what()));
            }
        }
        return out;
    }();
    return texts;
}

// The number text a readout of this type and precision may show.
bool isNumberOfFormat(const TNumLab &lab, const QString &text)
{
    if (text == lab.OverflowIndicator())
        return true;
    QString pattern;
    switch (lab.DisplayType()) {
    case TDisplay::dtInt: pattern = QStringLiteral("-?\\d+"); break;
    case TDisplay::dtFixP:
        pattern = lab.Precision() > 0 ? QStringLiteral("-?\\d+\\.\\d{%1}").arg(lab.Precision())
                                      : QStringLiteral("-?\\d+");
        break;
    default: return false; // the window uses no other type
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

// Characters a key event can carry without a key code of its own.
int keyFor(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    return u >= 0x20 && u < 0x7F ? int(u) : int(Qt::Key_unknown);
}

void sendOneChar(QWidget *w, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, keyFor(c), Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, keyFor(c), Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &release);
}

// The widget that takes typed text: a line edit itself, or the one inside a
// list or a spin edit.
QWidget *textTarget(QWidget *w)
{
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->lineEdit() ? static_cast<QWidget *>(combo->lineEdit()) : w;
    if (qobject_cast<QLineEdit *>(w))
        return w;
    if (auto *edit = w->findChild<QLineEdit *>())
        return edit;
    return w;
}

struct KeyStroke
{
    int key;
    Qt::KeyboardModifiers mods;
};

const KeyStroke kKeys[] = {
    {Qt::Key_Return, Qt::NoModifier},   {Qt::Key_Enter, Qt::KeypadModifier},
    {Qt::Key_Escape, Qt::NoModifier},   {Qt::Key_Up, Qt::NoModifier},
    {Qt::Key_Down, Qt::NoModifier},     {Qt::Key_Left, Qt::NoModifier},
    {Qt::Key_Right, Qt::NoModifier},    {Qt::Key_PageUp, Qt::NoModifier},
    {Qt::Key_PageDown, Qt::NoModifier}, {Qt::Key_Home, Qt::NoModifier},
    {Qt::Key_End, Qt::NoModifier},      {Qt::Key_Tab, Qt::NoModifier},
    {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Backspace, Qt::NoModifier},
    {Qt::Key_Delete, Qt::NoModifier},   {Qt::Key_Space, Qt::NoModifier},
    {Qt::Key_Insert, Qt::NoModifier},   {Qt::Key_F1, Qt::NoModifier},
    {Qt::Key_F4, Qt::NoModifier},       {Qt::Key_N, Qt::ControlModifier},
    {Qt::Key_A, Qt::ControlModifier},   {Qt::Key_Z, Qt::ControlModifier},
    {Qt::Key_C, Qt::ControlModifier},   {Qt::Key_V, Qt::ControlModifier},
    {Qt::Key_X, Qt::ControlModifier},   {Qt::Key_Left, Qt::ShiftModifier},
    {Qt::Key_End, Qt::ShiftModifier},   {Qt::Key_Down, Qt::AltModifier},
    {Qt::Key_Up, Qt::KeypadModifier},   {Qt::Key_Period, Qt::KeypadModifier},
    {Qt::Key_5, Qt::NoModifier},        {Qt::Key_0, Qt::NoModifier},
    {Qt::Key_Period, Qt::NoModifier},   {Qt::Key_Comma, Qt::NoModifier},
    {Qt::Key_Minus, Qt::NoModifier},    {Qt::Key_Plus, Qt::NoModifier},
    {Qt::Key_E, Qt::NoModifier},        {Qt::Key_X, Qt::NoModifier},
};

const char *const kTexts[] = {
    "0", "45", "0.17", "0.813", "2081", "2,081", "22.5", "1,234,567.891", "-5", "+3", "1e3",
    "1E-7", "99999999999999999999999999", "0.000000000001", ".5", "5.", "..", "1.2.3", ",,,",
    "50%", "abc", "12abc", "0x1F", "inf", "nan", "-0", "  7  ", "\t", "3000", "3001",
    "100.0001", "-1e308", "1e309", "\u0661\u0662\u0663", "\U0001F697", "\u00DF", "", "0,5",
    "1 000", "\n12\n", "4294967296", "-2147483649", "18446744073709551616",
};

} // namespace

void SendChars(QWidget *w, const QString &text)
{
    QPointer<QWidget> guard(w);
    for (QChar c : text) {
        if (!guard)
            return;
        sendOneChar(w, c);
    }
}

TSoakDriver::TSoakDriver(TForm1 &form, std::uint64_t seed, TTruckActions *actions,
                         const QString &folder)
    : m_form(form), m_rng(seed), m_actions(actions), m_folder(folder)
{
    // Ticks come from the soak, one at a time, so a seed replays exactly.
    m_form.Timer1->start(24 * 3600 * 1000);
    ESBInputOptions().Beep = [] {};
    auto *watch = new QTimer;
    watch->setInterval(0);
    QObject::connect(watch, &QTimer::timeout, [this] { answerModal(); });
    watch->start();
    m_watch = watch;
    if (m_actions)
        setUpProgram();
}

TSoakDriver::~TSoakDriver()
{
    delete m_watch;
    ESBInputOptions().Beep = nullptr;
}

QString TSoakDriver::CheckInvariants(TForm1 &f)
{
    const TDriveModel &m = f.Model();
    if (!(m.EngineRpm >= 0) || std::fmod(m.EngineRpm, 10.0) != 0)
        return QStringLiteral("engine speed %1 is negative or not a multiple of 10")
            .arg(m.EngineRpm);
    // Whatever was typed, every input the model runs on is a number.
    const std::pair<const char *, double> inputs[] = {
        {"transmission loss", m.TransmissionLoss}, {"overdrive ratio", m.OverdriveRatio},
        {"pitch circle radius", m.PitchCircleRadius}, {"pressure angle", m.PressureAngle},
        {"helix angle", m.HelixAngle}, {"overhang", m.Overhang}, {"load factor", m.LoadFactor},
        {"rolling resistance", m.RollingResistance}, {"frontal area", m.FrontalArea},
        {"drag coefficient", m.DragCoef}, {"load", m.Load}, {"gradient", m.Gradient}};
    for (const auto &[name, value] : inputs)
        if (!std::isfinite(value))
            return QStringLiteral("the model's %1 is %2").arg(QLatin1String(name)).arg(value);
    const int percent = Shown::TorqueUnusedPercent(m);
    if (percent < 0 || percent > 100 || f.PBPercTorque->value() < 0 || f.PBPercTorque->value() > 100)
        return QStringLiteral("percentage %1 / bar %2 outside 0..100")
            .arg(percent)
            .arg(f.PBPercTorque->value());
    for (TNumLab *lab : f.findChildren<TNumLab *>()) {
        const QString text = lab->ShownText();
        if (lab->Empty() ? !text.isEmpty() : !isNumberOfFormat(*lab, text))
            return QStringLiteral("readout %1 shows \"%2\"").arg(lab->objectName(), text);
    }
    for (TMeter *meter : f.findChildren<TMeter *>()) {
        const double v = meter->Value();
        if (!std::isfinite(v) || v < meter->MeterMinValue() || v > meter->MeterMaxValue())
            return QStringLiteral("gauge %1 at %2").arg(meter->objectName()).arg(v);
    }
    return {};
}

bool TSoakDriver::run(long events)
{
    for (long i = 0; i < events && m_failure.isEmpty(); ++i) {
        m_event = i;
        step();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // As a window manager does: when the active window closes, the main
        // window becomes active again (the offscreen platform leaves none).
        if (!QApplication::activeWindow() && m_form.isVisible()) {
            m_form.activateWindow();
            QCoreApplication::processEvents();
        }
        ++m_counts.Events;
        // Closing the About window destroys it, however it was closed.
        if (!m_form.findChildren<TFrmAbout *>().isEmpty())
            fail(QStringLiteral("an About window outlived its closing"));
        if (m_actions)
            checkProgram();
        if (i + 1 == std::max(1L, events / 10)) {
            m_residentAtTenth = ResidentKiB();
            m_heapAtTenth = LiveHeapKiB();
        }
        // VELMORA_SOAK_HEAP_EVERY=n prints the live heap every n events, to
        // tell a cache that fills and stops from something kept for good.
        if (m_heapEvery > 0 && (i + 1) % m_heapEvery == 0)
            std::fprintf(stderr, "soak: event %ld, live heap %ld KiB, resident %ld KiB\n", i + 1,
                         LiveHeapKiB(), ResidentKiB());
    }
    return m_failure.isEmpty();
}

void TSoakDriver::step()
{
    // With the whole program, one event in six goes to its other parts.
    if (m_actions && chance(1.0 / 6)) {
        programEvent();
        return;
    }
    const int r = pick(100);
    if (r < 30)
        tick();
    else if (r < 40)
        clickAnywhere();
    else if (r < 44)
        dragAnywhere();
    else if (r < 56)
        pressKey(chance(0.6) && QApplication::focusWidget() ? QApplication::focusWidget()
                                                            : randomInput());
    else if (r < 66)
        typeText(false);
    else if (r < 71)
        typeText(true);
    else if (r < 79)
        movePedal();
    else if (r < 83)
        chooseFromList();
    else if (r < 86) {
        QRadioButton *rb = chance(0.5) ? m_form.RBFourth : m_form.RBFifth;
        note(QStringLiteral("click %1").arg(rb->objectName()));
        QTest::mouseClick(rb, Qt::LeftButton, {}, rb->rect().center());
    } else if (r < 91) {
        QCheckBox *cb = chance(0.5) ? m_form.CBMph : m_form.CBMiles;
        note(QStringLiteral("click %1").arg(cb->objectName()));
        QTest::mouseClick(cb, Qt::LeftButton, {}, cb->rect().center());
    } else if (r < 98) {
        note(QStringLiteral("click BtnBoostMe"));
        QTest::mouseClick(m_form.BtnBoostMe, Qt::LeftButton, {}, m_form.BtnBoostMe->rect().center());
    } else if (r < 99) {
        note(QStringLiteral("click BtnAbout"));
        QTest::mouseClick(m_form.BtnAbout, Qt::LeftButton, {}, m_form.BtnAbout->rect().center());
    } else {
        note(QStringLiteral("Ctrl+N on the window"));
        QTest::keyClick(&m_form, Qt::Key_N, Qt::ControlModifier);
    }
}

void TSoakDriver::tick()
{
    const double before = m_form.Model().EngineRpm;
    QTimerEvent e(m_form.Timer1->timerId());
    QCoreApplication::sendEvent(m_form.Timer1, &e);
    ++m_counts.Ticks;
    if (m_form.Model().EngineRpm > before)
        ++m_counts.ClimbingTicks;
    m_topRpm = std::max(m_topRpm, m_form.Model().EngineRpm);
    const QString broken = CheckInvariants(m_form);
    if (!broken.isEmpty())
        fail(broken);
    if (m_actions)
        checkProgram();
}

// Two draws are never made in one expression: the order in which function
// arguments are evaluated differs between compilers, and a seed must replay
// the same events in every build.
QPoint TSoakDriver::randomPoint()
{
    const int x = pick(m_form.width());
    const int y = pick(m_form.height());
    return {x, y};
}

void TSoakDriver::clickAnywhere()
{
    const QPoint p = randomPoint();
    QWidget *w = m_form.childAt(p);
    if (!w)
        w = &m_form;
    const int b = pick(20);
    const Qt::MouseButton button = b < 17 ? Qt::LeftButton : b < 19 ? Qt::RightButton : Qt::MiddleButton;
    const Qt::KeyboardModifiers mods = chance(0.1) ? Qt::ShiftModifier : Qt::NoModifier;
    const QPoint at = w->mapFrom(&m_form, p);
    note(QStringLiteral("click %1 at %2,%3 button %4").arg(w->metaObject()->className())
             .arg(p.x()).arg(p.y()).arg(int(button)));
    if (chance(0.1))
        QTest::mouseDClick(w, button, mods, at);
    else
        QTest::mouseClick(w, button, mods, at);
}

void TSoakDriver::dragAnywhere()
{
    const QPoint p = randomPoint();
    QWidget *w = m_form.childAt(p);
    if (!w)
        w = &m_form;
    const QPoint from = w->mapFrom(&m_form, p);
    const int dx = pick(161) - 80;
    const int dy = pick(81) - 40;
    const QPoint to = from + QPoint(dx, dy);
    note(QStringLiteral("drag %1 from %2,%3 by %4,%5").arg(w->metaObject()->className())
             .arg(p.x()).arg(p.y()).arg(to.x() - from.x()).arg(to.y() - from.y()));
    QPointer<QWidget> guard(w);
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    if (guard)
        QTest::mouseMove(w, (from + to) / 2);
    if (guard)
        QTest::mouseMove(w, to);
    if (guard)
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

void TSoakDriver::pressKey(QWidget *target)
{
    if (!target)
        target = &m_form;
    const KeyStroke k = kKeys[pick(int(std::size(kKeys)))];
    note(QStringLiteral("key %1 mods %2 to %3")
             .arg(k.key, 0, 16)
             .arg(int(k.mods), 0, 16)
             .arg(target->objectName().isEmpty() ? target->metaObject()->className()
                                                 : target->objectName()));
    QTest::keyClick(target, Qt::Key(k.key), k.mods);
}

QWidget *TSoakDriver::randomInput()
{
    QWidget *const inputs[] = {
        m_form.EditTransmissionLoss, m_form.EditOverDriveRatio, m_form.EditPCR,
        m_form.EditPressAngle,       m_form.EditHelixAngle,     m_form.EditOverhang,
        m_form.EditLoadFactor,       m_form.EditRollingResistance, m_form.EditFrontalArea,
        m_form.EditDragCoef,         m_form.EditDynLoadRating,  m_form.SELoad,
        m_form.SEGradient,           m_form.ComboEngine,        m_form.ComboFinalRatio,
        m_form.ComboTyreSize,        m_form.ComboKerbWeight,    m_form.TBGasPedal,
    };
    return inputs[pick(int(std::size(inputs)))];
}

QString TSoakDriver::randomText()
{
    const int kind = pick(10);
    if (kind < 5)
        return QString::fromUtf8(kTexts[pick(int(std::size(kTexts)))]);
    if (kind < 8) {
        static const QString alphabet = QStringLiteral("0123456789012345678901234.,.,-+eE% a");
        QString s;
        for (int i = 0, n = 1 + pick(12); i < n; ++i)
            s += alphabet[pick(int(alphabet.size()))];
        return s;
    }
    if (kind < 9)
        return QString(50 + pick(350), QLatin1Char('9')); // far beyond any range
    QString s;
    for (int i = 0, n = 1 + pick(8); i < n; ++i) {
        char16_t u = char16_t(1 + pick(0xD7FF));
        s += QChar(u);
    }
    return s;
}

void TSoakDriver::typeText(bool paste)
{
    QWidget *input = randomInput();
    QWidget *target = textTarget(input);
    const QString text = randomText();
    // Every typed character is a change the windows beside the main window
    // recompute for; a long text goes in as one paste while they are open,
    // so a run spends its time on many events rather than a few keystrokes.
    if (m_actions && text.size() > 16 && (m_actions->LifeMap() || m_actions->DutyWindow()))
        paste = true;
    note(QStringLiteral("%1 \"%2\" into %3")
             .arg(paste ? QStringLiteral("paste") : QStringLiteral("type"), text.left(40),
                  input->objectName()));
    QPointer<QWidget> guard(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    if (!guard)
        return;
    target->setFocus();
    if (chance(0.5))
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    else if (chance(0.5))
        QTest::keyClick(target, Qt::Key_End);
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    } else {
        for (QChar c : text) {
            if (!guard)
                break;
            sendOneChar(target, c);
        }
    }
    if (guard && chance(0.3))
        QTest::keyClick(target, chance(0.5) ? Qt::Key_Tab : Qt::Key_Return);
}

void TSoakDriver::movePedal()
{
    QSlider *s = m_form.TBGasPedal;
    if (chance(0.3)) {
        const QPoint at(pick(s->width()), s->height() / 2);
        note(QStringLiteral("click the pedal at %1").arg(at.x()));
        QTest::mouseClick(s, Qt::LeftButton, {}, at);
        return;
    }
    static const Qt::Key keys[] = {Qt::Key_Home, Qt::Key_End,  Qt::Key_PageUp,
                                   Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right};
    const Qt::Key key = keys[pick(int(std::size(keys)))];
    note(QStringLiteral("pedal key %1").arg(int(key), 0, 16));
    s->setFocus();
    QTest::keyClick(s, key);
}

void TSoakDriver::chooseFromList()
{
    TComboBox *const lists[] = {m_form.ComboEngine, m_form.ComboFinalRatio, m_form.ComboTyreSize,
                                m_form.ComboKerbWeight};
    TComboBox *combo = lists[pick(4)];
    combo->setFocus();
    if (chance(0.5)) {
        static const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End,
                                       Qt::Key_PageUp, Qt::Key_PageDown};
        const Qt::Key key = keys[pick(int(std::size(keys)))];
        note(QStringLiteral("list key %1 on %2").arg(int(key), 0, 16).arg(combo->objectName()));
        QTest::keyClick(combo, key);
        return;
    }
    // Open the list, move in it and take an entry, as with the mouse.
    note(QStringLiteral("pick from %1").arg(combo->objectName()));
    combo->showPopup();
    QWidget *view = combo->view();
    for (int i = 0, n = pick(20); i < n; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, chance(0.8) ? Qt::Key_Return : Qt::Key_Escape);
    if (combo->view()->isVisible())
        combo->hidePopup();
}

void TSoakDriver::answerModal()
{
    if (m_inModal)
        return;
    if (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    m_inModal = true;
    // The simulation goes on under a modal window.
    for (int i = 0, n = pick(4); i < n; ++i)
        tick();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        note(QStringLiteral("answer %1 \"%2\"").arg(box->objectName(), box->text()));
        if (box->objectName() == QLatin1String("ErrorBox")) {
            ++m_counts.ErrorBoxes;
            if (!errorBoxTexts().contains(box->text()))
                fail(QStringLiteral("error box with \"%1\": not an error of the program's own")
                         .arg(box->text()));
        }
        switch (pick(3)) {
        case 0: QTest::keyClick(box, Qt::Key_Return); break;
        case 1: QTest::keyClick(box, Qt::Key_Escape); break;
        default:
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            break;
        }
    } else if (QPointer<TFrmAbout> about = qobject_cast<TFrmAbout *>(modal)) {
        ++m_counts.AboutWindows;
        note(QStringLiteral("answer the About window"));
        for (int i = 0, n = pick(4); i < n && about && about->isVisible(); ++i) {
            const KeyStroke k = kKeys[pick(int(std::size(kKeys)))];
            if (k.key != Qt::Key_Escape)
                QTest::keyClick(about->Memo1, Qt::Key(k.key), k.mods);
        }
        if (about && about->isVisible()) {
            if (chance(0.5))
                QTest::keyClick(about, Qt::Key_Escape);
            else
                about->SpeedButton1->click();
        }
    } else {
        fail(QStringLiteral("unexpected modal window %1").arg(modal->metaObject()->className()));
    }
    // Whatever did not close on its own is closed now, so the run goes on.
    if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
        if (dialog == modal)
            dialog->reject();
    m_inModal = false;
}

void TSoakDriver::note(const QString &event)
{
    static const bool trace = qEnvironmentVariableIsSet("VELMORA_SOAK_TRACE");
    if (trace)
        std::fprintf(stderr, "#%ld %s (rpm %g)\n", m_event, qPrintable(event), m_form.Model().EngineRpm);
    m_recent.push_back(QStringLiteral("#%1 %2").arg(m_event).arg(event));
    if (m_recent.size() > 12)
        m_recent.pop_front();
}

void TSoakDriver::fail(const QString &what)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = QStringLiteral("event %1 (tick %2): %3\n  last events:\n    %4")
                    .arg(m_event)
                    .arg(m_counts.Ticks)
                    .arg(what, QStringList(m_recent.begin(), m_recent.end())
                                    .join(QStringLiteral("\n    ")));
}
