#include "Util/systemmemory.h"

#include <QFile>
#include <QTextStream>

#include <atomic>
#include <unistd.h>

namespace Util {

namespace {

std::atomic<quint64> overrideBytes{0};

quint64 readMemAvailable()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        QString line;
        while (in.readLineInto(&line)) {
            if (line.startsWith(QLatin1String("MemAvailable:"))) {
                const QStringList parts = line.simplified().split(QLatin1Char(' '));
                bool ok = false;
                const quint64 kb = parts.value(1).toULongLong(&ok);
                if (ok)
                    return kb * 1024;
            }
        }
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return quint64(pages) * quint64(pageSize);
    return 0;
}

// Free room under a cgroup v2 memory limit, or 0 when there is no limit.
quint64 readCgroupRoom()
{
    QFile maxFile(QStringLiteral("/sys/fs/cgroup/memory.max"));
    QFile currentFile(QStringLiteral("/sys/fs/cgroup/memory.current"));
    if (!maxFile.open(QIODevice::ReadOnly) || !currentFile.open(QIODevice::ReadOnly))
        return 0;
    bool okMax = false;
    bool okCurrent = false;
    const quint64 limit = maxFile.readAll().trimmed().toULongLong(&okMax);
    const quint64 current = currentFile.readAll().trimmed().toULongLong(&okCurrent);
    if (!okMax || !okCurrent)
        return 0; // "max" means no limit
    return limit > current ? limit - current : 1;
}

} // namespace

quint64 SystemMemory::availableBytes()
{
    const quint64 forced = overrideBytes.load();
    if (forced)
        return forced;
    quint64 available = readMemAvailable();
    const quint64 room = readCgroupRoom();
    if (room && (available == 0 || room < available))
        available = room;
    return available;
}

void SystemMemory::setAvailableBytesOverride(quint64 bytes)
{
    overrideBytes.store(bytes);
}

QString SystemMemory::formatBytes(double bytes)
{
    const char *units[] = {"bytes", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
    int unit = 0;
    while (bytes >= 1024.0 && unit < 8) {
        bytes /= 1024.0;
        ++unit;
    }
    if (unit == 0)
        return QStringLiteral("%1 bytes").arg(qint64(bytes));
    return QStringLiteral("%1 %2").arg(bytes, 0, 'f', 1).arg(QLatin1String(units[unit]));
}

} // namespace Util
