#include "Model/Persistence/processarchiver.h"

#include <QDebug>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Model {
namespace Persistence {

Process::Process ProcessArchiver::loadProcess(QXmlStreamReader *reader, bool *ok)
{
    if (ok)
        *ok = false;
    if (!reader || reader->name() != QLatin1String("Process"))
        return Process::Process();

    QString name;
    quint32 id = 0;
    bool failed = false;
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        const QStringRef attributeName = attribute.name();
        const QString value = attribute.value().toString();
        qDebug() << "attribute: " << attributeName << " -> " << value;
        bool converted = true;
        if (attributeName == QLatin1String("process-id"))
            id = value.toUInt(&converted, 10);
        else if (attributeName == QLatin1String("name"))
            name = value;
        else if (attributeName == QLatin1String("version"))
            value.toUInt(&converted, 10);
        if (!converted)
            failed = true;
    }
    if (failed || id == 0 || name.isEmpty())
        return Process::Process();

    const QList<quint32> materials = loadCompatibleMaterials(reader);
    if (ok)
        *ok = !reader->hasError();
    return Process::Process(name, id, materials);
}

QList<quint32> ProcessArchiver::loadCompatibleMaterials(QXmlStreamReader *reader)
{
    QList<quint32> result;
    if (!reader || !reader->readNextStartElement())
        return result;
    qDebug() << "Element: " << reader->name();
    if (reader->name() != QLatin1String("CompatibleMaterials"))
        return result;
    reader->readNext();
    if (!reader->isCharacters())
        return result;
    const QString text = reader->text().toString();
    qDebug() << "text-> " << text;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // A material is listed once: a file repeating one cannot make every dialog build a
    // choice per repetition.
    QSet<quint32> seen;
    for (const QString &part : parts) {
        bool converted = false;
        const quint32 materialId = part.toUInt(&converted, 10);
        if (converted && !seen.contains(materialId)) {
            seen.insert(materialId);
            result.append(materialId);
        }
    }
    return result;
}

bool ProcessArchiver::saveProcess(QXmlStreamWriter *writer, const Process::Process &process)
{
    if (!writer)
        return false;
    writer->writeStartElement(QStringLiteral("Process"));
    writer->writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    writer->writeAttribute(QStringLiteral("name"), process.getName());
    writer->writeAttribute(QStringLiteral("process-id"), QString::number(process.getId()));
    QStringList ids;
    for (quint32 materialId : process.getCompatibleMaterials())
        ids.append(QString::number(materialId));
    writer->writeTextElement(QStringLiteral("CompatibleMaterials"), ids.join(QLatin1Char(';')));
    writer->writeEndElement();
    return !writer->hasError();
}

} // namespace Persistence
} // namespace Model
