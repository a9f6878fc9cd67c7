#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <unistd.h>

// Looks at processes through /proc, so that tests can prove a child was ended and reaped.

// True while a process with this id exists, zombies included.
inline bool ProcessExists(qint64 pid) {
    return pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

// The ids of this test's own child processes, zombies included.
inline QList<qint64> ChildProcesses() {
    QList<qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == qint64(getpid()))
            children << pid;
    }
    return children;
}
