#include "Model/Persistence/catalogfile.h"

#include "Model/Persistence/xmlguard.h"
#include "Util/safesave.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Model {
namespace Persistence {

namespace {
const char folderName[] = "Celvane";
}

QString CatalogFile::readPath(const QString &fileName)
{
    QDir dir = QDir::home();
    dir.cd(QLatin1String(folderName));
    return dir.filePath(fileName);
}

QString CatalogFile::writePath(const QString &fileName)
{
    QDir dir = QDir::home();
    if (!dir.exists(QLatin1String(folderName)) && !dir.mkdir(QLatin1String(folderName))) {
        qDebug() << "Cannot create the folder" << dir.filePath(QLatin1String(folderName));
        return QString();
    }
    if (!dir.cd(QLatin1String(folderName)))
        return QString();
    return dir.filePath(fileName);
}

bool CatalogFile::keepBackup(const QString &path)
{
    if (!QFile::exists(path))
        return false;
    const QString backup = path + QStringLiteral(".bak");
    if (QFile::exists(backup) && !QFile::remove(backup)) {
        qDebug() << "Cannot replace the old backup" << backup;
        return false;
    }
    if (!QFile::copy(path, backup)) {
        qDebug() << "Cannot keep the unreadable catalogue" << path << "as" << backup;
        return false;
    }
    qDebug() << "The unreadable catalogue" << path << "was kept as" << backup;
    return true;
}

bool CatalogFile::read(const QString &path, const QString &rootName,
                       const std::function<void(QXmlStreamReader &)> &onElement)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

    XmlGuard guard(file);
    QXmlStreamReader reader(&guard);
    QString reason;
    if (!guard.readToRoot(reader, &reason) || reader.name() != rootName) {
        qDebug() << "Refused" << path
                 << (reason.isEmpty() ? QStringLiteral("its root is not ") + rootName : reason);
        return false;
    }
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            qDebug() << "Element:" << reader.name();
            onElement(reader);
        }
    }
    if (reader.hasError()) {
        qDebug() << "Refused" << path << guard.errorString(reader);
        return false;
    }
    return true;
}

bool CatalogFile::write(const QString &fileName, const QString &rootName,
                        const std::function<void(QXmlStreamWriter &)> &writeEntries)
{
    const QString path = writePath(fileName);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qDebug() << "Cannot write" << path << file.errorString();
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(rootName);
    writeEntries(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    QString reason;
    if (!Util::SafeSave::commit(file, !writer.hasError(), &reason)) {
        qDebug() << "Cannot write" << path << reason;
        return false;
    }
    return true;
}

} // namespace Persistence
} // namespace Model
