#include "Core/Operations/documentfile.h"

#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "Model/Persistence/materialarchiver.h"
#include "Model/Persistence/xmlguard.h"
#include "Util/progress.h"
#include "Util/safesave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <vector>

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

// Warnings beyond this many are counted, not listed: a crafted file cannot flood a message.
const int maxWarnings = 20;
// New materials one document may bring; beyond, the catalogue and every material list would
// swell for the rest of the run.
const int maxNewMaterials = 2000;

/// The warnings of one read: the first maxWarnings listed, the rest counted.
class Warnings
{
public:
    explicit Warnings(QStringList *list) : list(list), dropped(0) {}
    void add(const QString &text)
    {
        if (list && list->size() < maxWarnings)
            list->append(text);
        else
            ++dropped;
    }
    /// Lists the count of the warnings left out, then text, which is always listed.
    void finish(const QString &text = QString())
    {
        if (list && dropped > 0)
            list->append(QStringLiteral("and %1 more").arg(dropped));
        if (list && !text.isEmpty())
            list->append(text);
    }

private:
    QStringList *list;
    int dropped;
};

/// The materials of a document, reconciled with the catalogue in groups, so that a document
/// bringing too many new ones is refused before any of them reaches the catalogue.
class MaterialReconciler
{
public:
    explicit MaterialReconciler(Workspace &workspace) : workspace(workspace), added(0), warned(0) {}

    void read(QXmlStreamReader &reader)
    {
        bool ok = false;
        const Material stored = Model::Persistence::MaterialArchiver::loadMaterial(&reader, &ok);
        if (ok)
            pending.push_back(stored);
        else
            warn();
    }

    /// Reconciles what was read since the last call; false, with a reason, when that would
    /// bring more than maxNewMaterials new materials into the catalogue.
    bool flush(QString *error)
    {
        MaterialFactory::Ptr catalogue = MaterialFactory::instance();
        int fresh = 0;
        for (const Material &stored : pending)
            if (!(catalogue->getMaterial(stored.getId()) == stored))
                ++fresh;
        if (added + fresh > maxNewMaterials) {
            if (error)
                *error = QStringLiteral("it brings %1 new materials, more than the %2 one "
                                        "document may add")
                             .arg(added + fresh)
                             .arg(maxNewMaterials);
            pending.clear();
            return false;
        }
        for (const Material &stored : pending)
            reconcile(stored);
        added += fresh;
        pending.clear();
        return true;
    }

private:
    void warn()
    {
        if (++warned <= maxWarnings)
            workspace.getConsoleInput().writeMessage(materialWarning);
    }

    void reconcile(Material stored)
    {
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
                warn();
                map.insert(id, id);
                return;
            }
            stored.setId(fresh);
            catalogue->setMaterial(stored);
            map.insert(id, fresh);
        }
    }

    Workspace &workspace;
    std::vector<Material> pending;
    int added;
    int warned;
};

} // namespace

Model::Persistence::MaterialIdMap &DocumentFile::materialIdMap()
{
    static Model::Persistence::MaterialIdMap map;
    return map;
}

bool DocumentFile::writeDocument(const QString &fileName, Workspace &workspace, QString *error)
{
    // Writing a large volume takes seconds: it runs as a step, so the window goes on drawing
    // and shows a progress window meanwhile. The document's name and state, which the window
    // title follows, change afterwards on this thread.
    bool written = false;
    Util::Progress progress;
    workspace.runStep("Save", progress, false,
                      [&]() { written = writeFile(fileName, workspace, error); });
    if (!written)
        return false;
    workspace.getDocument().setFileName(fileName);
    workspace.getDocument().setModified(false);
    return true;
}

bool DocumentFile::writeFile(const QString &fileName, Workspace &workspace, QString *error)
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
    return Util::SafeSave::commit(file, !writer.hasError(), error);
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
    Model::Persistence::XmlGuard guard(device);
    QXmlStreamReader reader(&guard);
    QString reason;
    if (!guard.readToRoot(reader, &reason)) {
        const bool refused = !guard.refusal().isEmpty();
        // The parser's own words ("Start tag expected.") mean little to someone who opened a
        // picture by mistake: they follow as the detail.
        if (error)
            *error =
                refused ? reason : QStringLiteral("it is not a Celvane document (%1)").arg(reason);
        return refused ? Refused : NotADocument;
    }
    if (reader.name() != QLatin1String("Document") || !nextStartElement(reader) ||
        reader.name() != QLatin1String("Header")) {
        if (error)
            *error = reader.hasError() ? guard.errorString(reader)
                                       : QStringLiteral("it is not a Celvane document");
        return guard.refusal().isEmpty() ? NotADocument : Refused;
    }
    reader.attributes().value(QLatin1String("version")).toUInt(); // not checked

    int objectNumber = 0;
    bool incomplete = false;
    Warnings problems(warnings);
    MaterialReconciler materials(workspace);
    while (nextStartElement(reader)) {
        if (reader.name() == QLatin1String("Material")) {
            materials.read(reader);
            continue;
        }
        // The materials before an object are known before its cells are mapped.
        if (!materials.flush(error))
            return Refused;
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
            archiver->setInputSize(device.isSequential() ? 0 : device.size());
            reason.clear();
            const Document::ObjectPtr object = archiver->readObject(&reason);
            archiver->setReader(nullptr);
            archiver->setInputSize(0);
            if (object) {
                workspace.getDocument().addObject(object);
            } else {
                incomplete = true;
                // Some reasons are whole sentences already: one full stop ends the line.
                while (reason.endsWith(QLatin1Char('.')))
                    reason.chop(1);
                problems.add(
                    QStringLiteral("Object %1 was not loaded: %2.").arg(objectNumber).arg(reason));
            }
        } else {
            reader.skipCurrentElement();
        }
    }
    if (!materials.flush(error))
        return Refused;
    // A reader error ends the loop like the end of the input: what was read stays.
    QString damage;
    if (reader.hasError()) {
        incomplete = true;
        reason = guard.errorString(reader);
        while (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        damage = QStringLiteral("The file ends early or is damaged (%1, line %2); "
                                "what came before was loaded.")
                     .arg(reason)
                     .arg(reader.lineNumber());
    }
    problems.finish(damage);
    // What was loaded of a damaged file is not the file: it stays untitled and unsaved, so a
    // plain Save cannot overwrite the file with less than it holds.
    workspace.getDocument().setFileName(incomplete ? QString() : fileName);
    workspace.getDocument().setModified(incomplete);
    workspace.notifyUpdate();
    return Read;
}

} // namespace Operations
} // namespace Core
