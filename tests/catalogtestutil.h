#ifndef CELVANE_TESTS_CATALOGTESTUTIL_H
#define CELVANE_TESTS_CATALOGTESTUTIL_H

#include <QDir>
#include <QFile>
#include <QScopedPointer>
#include <QTemporaryDir>

/// A fresh home folder per test case, so each case starts as a first run.
class TemporaryHome
{
public:
    TemporaryHome() : dir(new QTemporaryDir()) { qputenv("HOME", dir->path().toLocal8Bit()); }
    QString path() const { return dir->path(); }
    QString celvanePath(const QString &file) const
    {
        return QDir(dir->path()).filePath(QStringLiteral("Celvane/") + file);
    }
    /// Writes a file below the home folder, creating folders on the way.
    bool write(const QString &relative, const QByteArray &content) const
    {
        const QString full = QDir(dir->path()).filePath(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile file(full);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    QByteArray read(const QString &relative) const
    {
        QFile file(QDir(dir->path()).filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QScopedPointer<QTemporaryDir> dir;
};

#endif
