#pragma once

#include <QPoint>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

// Plays a little mouse script on a widget, as a user would: steps separated by ';', each a verb
// and an optional "x,y" point, e.g. "press 10,10; move 300,10; release 300,10".
// Verbs: press/release (left), rpress/rrelease (right), mpress/mrelease (middle), move, dclick.
// Any other verb goes to otherStep, which returns false for a verb it does not know either;
// afterStep runs after every step. Returns the first unknown verb, or an empty text.
inline QString PlayMouseScript(QWidget* target, const QString& script,
                               const std::function<bool(const QString& verb)>& otherStep,
                               const std::function<void()>& afterStep = {}) {
    for (const QString& step : script.split(';')) {
        const QStringList parts = step.trimmed().split(' ');
        QPoint at;
        if (parts.size() > 1) {
            const QStringList xy = parts[1].split(',');
            at = QPoint(xy[0].toInt(), xy[1].toInt());
        }
        const QString verb = parts[0];
        if (verb == "press")
            QTest::mousePress(target, Qt::LeftButton, {}, at);
        else if (verb == "release")
            QTest::mouseRelease(target, Qt::LeftButton, {}, at);
        else if (verb == "rpress")
            QTest::mousePress(target, Qt::RightButton, {}, at);
        else if (verb == "rrelease")
            QTest::mouseRelease(target, Qt::RightButton, {}, at);
        else if (verb == "mpress")
            QTest::mousePress(target, Qt::MiddleButton, {}, at);
        else if (verb == "mrelease")
            QTest::mouseRelease(target, Qt::MiddleButton, {}, at);
        else if (verb == "move")
            QTest::mouseMove(target, at);
        else if (verb == "dclick")
            QTest::mouseDClick(target, Qt::LeftButton, {}, at);
        else if (!otherStep || !otherStep(verb))
            return verb;
        if (afterStep)
            afterStep();
    }
    return QString();
}
