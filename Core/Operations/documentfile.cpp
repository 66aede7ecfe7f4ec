#include "Core/Operations/documentfile.h"

#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Persistence/materialarchiver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Core {
namespace Operations {

using Model::Materials::Material;
using Model::Materials::MaterialFactory;

namespace {

const char materialWarning[] =
    "WARNING: There was an error loading a material. This may alter the loaded cell volume.";

/// Moves to the next start element; false at the end of the input or on an error.
bool nextStartElement(QXmlStreamReader &reader)
{
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            return true;
    }
    return false;
}

void reconcileMaterial(QXmlStreamReader &reader, Workspace &workspace)
{
    bool ok = false;
    Material stored = Model::Persistence::MaterialArchiver::loadMaterial(&reader, &ok);
    if (!ok) {
        workspace.getConsoleInput().writeMessage(materialWarning);
        return;
    }
    MaterialFactory::Ptr catalogue = MaterialFactory::instance();
    Model::Persistence::MaterialIdMap &map = DocumentFile::materialIdMap();
    const quint32 id = stored.getId();
    const Material present = catalogue->getMaterial(id);
    if (present.getId() == 0) {
        catalogue->setMaterial(stored);
        map.insert(id, id);
    } else if (present == stored) {
        map.insert(id, id);
    } else {
        // Another material under the same id: the stored one moves to a fresh id.
        const quint32 fresh = catalogue->generateMaterialId();
        if (fresh == 0) {
            // No id is left for it: its cells keep the id, shown as the catalogue's material.
            workspace.getConsoleInput().writeMessage(materialWarning);
            map.insert(id, id);
            return;
        }
        stored.setId(fresh);
        catalogue->setMaterial(stored);
        map.insert(id, fresh);
    }
}

} // namespace

Model::Persistence::MaterialIdMap &DocumentFile::materialIdMap()
{
    static Model::Persistence::MaterialIdMap map;
    return map;
}

bool DocumentFile::writeDocument(const QString &fileName, Workspace &workspace, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QXmlStreamWriter writer(&file);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Document"));
    writer.writeEmptyElement(QStringLiteral("Header"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    for (const Material &material : MaterialFactory::instance()->getMaterials())
        Model::Persistence::MaterialArchiver::saveMaterial(&writer, material);
    for (const Document::ObjectPtr &object : workspace.getDocument().getObjects()) {
        const VolumeStateStore::ArchiverPtr archiver =
            workspace.getVolumeStates().getArchiver(quint32(object->getType()));
        if (!archiver)
            continue;
        archiver->setWriter(&writer);
        archiver->writeObject(object);
        archiver->setWriter(nullptr);
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    if (writer.hasError() || !file.commit()) {
        if (error)
            *error = file.errorString().isEmpty() ? QStringLiteral("the file could not be written")
                                                  : file.errorString();
        return false;
    }
    workspace.getDocument().setFileName(fileName);
    workspace.getDocument().setModified(false);
    return true;
}

DocumentFile::ReadResult DocumentFile::readDocument(const QString &fileName, Workspace &workspace,
                                                    QString *error, QStringList *warnings)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return NotOpened;
    }
    return readDocument(file, fileName, workspace, error, warnings);
}

DocumentFile::ReadResult DocumentFile::readDocument(QIODevice &device, const QString &fileName,
                                                    Workspace &workspace, QString *error,
                                                    QStringList *warnings)
{
    QXmlStreamReader reader(&device);
    if (!nextStartElement(reader) || reader.name() != QLatin1String("Document") ||
        !nextStartElement(reader) || reader.name() != QLatin1String("Header")) {
        if (error)
            *error = reader.hasError() ? reader.errorString()
                                       : QStringLiteral("it is not a Celvane document");
        return NotADocument;
    }
    reader.attributes().value(QLatin1String("version")).toUInt(); // not checked

    int objectNumber = 0;
    bool incomplete = false;
    while (nextStartElement(reader)) {
        if (reader.name() == QLatin1String("Object")) {
            ++objectNumber;
            const quint32 type = reader.attributes().value(QLatin1String("object-type")).toUInt();
            const VolumeStateStore::ArchiverPtr archiver =
                workspace.getVolumeStates().getArchiver(type);
            if (!archiver) {
                reader.skipCurrentElement();
                continue;
            }
            archiver->setReader(&reader);
            archiver->setMaterialIdMap(&materialIdMap());
            QString reason;
            const Document::ObjectPtr object = archiver->readObject(&reason);
            archiver->setReader(nullptr);
            if (object) {
                workspace.getDocument().addObject(object);
            } else {
                incomplete = true;
                if (warnings)
                    warnings->append(QStringLiteral("Object %1 was not loaded: %2.")
                                         .arg(objectNumber)
                                         .arg(reason));
            }
        } else if (reader.name() == QLatin1String("Material")) {
            reconcileMaterial(reader, workspace);
        } else {
            reader.skipCurrentElement();
        }
    }
    // A reader error ends the loop like the end of the input: what was read stays.
    if (reader.hasError()) {
        incomplete = true;
        QString reason = reader.errorString();
        while (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        if (warnings)
            warnings->append(QStringLiteral("The file ends early or is damaged (%1, line %2); "
                                            "what came before was loaded.")
                                 .arg(reason)
                                 .arg(reader.lineNumber()));
    }
    // What was loaded of a damaged file is not the file: it stays untitled and unsaved, so a
    // plain Save cannot overwrite the file with less than it holds.
    workspace.getDocument().setFileName(incomplete ? QString() : fileName);
    workspace.getDocument().setModified(incomplete);
    workspace.notifyUpdate();
    return Read;
}

} // namespace Operations
} // namespace Core
