#include "design/SvgPath.h"

#include <QList>
#include <QPointF>

namespace {

// Letters are tokens by themselves; numbers end at a space, a letter or a
// minus sign (which starts the next number).
QStringList tokens(QString d)
{
    d.replace(QLatin1Char(','), QLatin1Char(' '));
    QStringList out;
    QString number;
    auto endNumber = [&] {
        if (!number.isEmpty())
            out.append(std::exchange(number, QString()));
    };
    for (const QChar c : std::as_const(d)) {
        if (c.isLetter()) {
            endNumber();
            out.append(QString(c));
        } else if (c.isSpace()) {
            endNumber();
        } else if (c == QLatin1Char('-')) {
            endNumber();
            number = c;
        } else {
            number.append(c);
        }
    }
    endNumber();
    return out;
}

int pairsFor(QChar command)
{
    switch (command.unicode()) {
    case 'M':
    case 'L':
        return 1;
    case 'C':
        return 3;
    case 'Q':
        return 2;
    default:
        return 0;
    }
}

void apply(QPainterPath &path, QChar &command, const QList<double> &n)
{
    switch (command.unicode()) {
    case 'M':
        path.moveTo(n[0], n[1]);
        command = QLatin1Char('L'); // further pairs draw lines
        break;
    case 'L':
        path.lineTo(n[0], n[1]);
        break;
    case 'C':
        path.cubicTo(n[0], n[1], n[2], n[3], n[4], n[5]);
        break;
    case 'Q':
        path.quadTo(n[0], n[1], n[2], n[3]);
        break;
    }
}

} // namespace

QPainterPath parseSVGPath(const QString &d)
{
    QPainterPath path;
    QChar command;
    QList<double> numbers;
    for (const QString &token : tokens(d)) {
        if (token.size() == 1 && token[0].isLetter()) {
            command = token[0];
            numbers.clear();
            if (command == QLatin1Char('Z'))
                path.closeSubpath();
            continue;
        }
        bool ok = false;
        const double value = token.toDouble(&ok); // QString::toDouble is C-locale
        if (!ok || pairsFor(command) == 0)
            continue; // a malformed number or one no command takes
        numbers.append(value);
        if (numbers.size() == 2 * pairsFor(command)) {
            apply(path, command, numbers);
            numbers.clear();
        }
    }
    return path;
}
