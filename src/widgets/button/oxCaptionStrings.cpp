#include "widgets/button/oxBtns.h"

#include <stdexcept>

QStringList TCaptionStrings::Strings() const
{
    QString text = m_button->Caption().left(254);
    text.replace(QLatin1String("||"), QLatin1String("\n"));
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast(); // a trailing break ends the last line, it starts none
    return lines;
}

void TCaptionStrings::Assign(const QStringList &lines)
{
    m_button->setCaption(lines.join(QLatin1String("||")));
}

void TCaptionStrings::Put(int i, const QString &s)
{
    QStringList l = Strings();
    if (i < 0 || i >= l.size())
        throw std::out_of_range("List index out of bounds");
    l[i] = s;
    Assign(l);
}

void TCaptionStrings::Insert(int i, const QString &s)
{
    QStringList l = Strings();
    if (i < 0 || i > l.size())
        throw std::out_of_range("List index out of bounds");
    l.insert(i, s);
    Assign(l);
}

void TCaptionStrings::Delete(int i)
{
    QStringList l = Strings();
    if (i < 0 || i >= l.size())
        throw std::out_of_range("List index out of bounds");
    l.removeAt(i);
    Assign(l);
}

void TCaptionStrings::Clear()
{
    m_button->setCaption(QString());
}

