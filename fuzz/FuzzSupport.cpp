#include "FuzzSupport.h"

#include <QApplication>
#include <QLocale>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::uint64_t FuzzReader::u64()
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= std::uint64_t(u8()) << (8 * i);
    return v;
}

double FuzzReader::f64()
{
    const std::uint64_t bits = u64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QString FuzzReader::restUtf8()
{
    const auto *p = reinterpret_cast<const char *>(m_data + m_pos);
    const auto n = qsizetype(m_size - m_pos);
    m_pos = m_size;
    return QString::fromUtf8(p, n);
}

FuzzSeparators ReadSeparators(FuzzReader &in)
{
    static const char16_t pairs[][2] = {
        {u'.', u','}, {u',', u'.'}, {u',', u' '}, {u'.', u'\''},
        {u',', u'\u00A0'}, {u'.', u'\u202F'}, {u'.', u'_'},
    };
    const int sel = in.u8() % 8;
    FuzzSeparators out;
    if (sel < 7) {
        out.seps = {QChar(pairs[sel][0]), QChar(pairs[sel][1])};
        return out;
    }
    out.seps = {QChar(in.u16()), QChar(in.u16())};
    auto plainChar = [](QChar c) {
        const QString special = QStringLiteral("0123456789+-eE%");
        return !c.isNull() && !c.isSpace() && !special.contains(c) && !c.isSurrogate();
    };
    out.plain = plainChar(out.seps.Decimal) && plainChar(out.seps.Thousands) &&
                out.seps.Decimal != out.seps.Thousands;
    return out;
}

void EnsureFuzzApplication()
{
    if (QApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "velmora-fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    (void)app;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QLocale::setDefault(QLocale::c());
}

void FuzzFail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz check failed: %s\n  %s\n", what, qPrintable(detail));
    std::abort();
}
