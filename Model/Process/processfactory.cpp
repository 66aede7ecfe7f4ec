#include "Model/Process/processfactory.h"

#include "Model/Materials/materialfactory.h"
#include "Model/Persistence/catalogfile.h"
#include "Model/Persistence/processarchiver.h"

#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Model {
namespace Process {

namespace {

const char fileName[] = "processes.xml";

QMutex &catalogMutex()
{
    static QMutex mutex;
    return mutex;
}

QMap<quint32, Process> &catalog()
{
    static QMap<quint32, Process> map;
    return map;
}

struct DefaultProcess
{
    quint32 id;
    const char *name;
    const char *materials; // ids as the file writes them
};

const DefaultProcess defaultProcesses[] = {
    {1, "Si Wet Etching", "1"},
    {2, "DRIE", "1"},
    {3, "CVD", "3;16"},
    {4, "PVD", "4;5;6;7;8;9;10"},
    {5, "Film Etching", "3;4;5;6;7;8;9;10;11;12;13"},
    {6, "Photolithography", "3;4;5;6;7;8;9;10;11;12;13"},
    {7, "Planarization", ""},
    {8, "Spin Coating / Soft Lithography", "11;12;13"},
    {9, "Isotropic Deposition", "3;4;5;6;7;8;9;10"},
    {10, "Isotropic Etching", "1;3;4;5;6;7;8;9;10;11;12;13"},
    {11, "Electroplating", "4;5;6;7;8;9;10"},
    {12, "Simple Si Oxidation", "1;14;15;16"},
    {13, "Simple Doping", "1;14;15;16"},
    {14, "Ion Implantation", "1;14;15;16"},
};

} // namespace

ProcessFactory::ProcessFactory()
{
    // Processes resolve their materials through the material catalogue: it comes first.
    Materials::MaterialFactory::instance();
    initialize();
}

ProcessFactory::Ptr ProcessFactory::instance()
{
    static Ptr theInstance(new ProcessFactory());
    return theInstance;
}

QString ProcessFactory::readPath()
{
    return Persistence::CatalogFile::readPath(QLatin1String(fileName));
}

void ProcessFactory::initialize()
{
    {
        // Start-up reads into an empty catalogue.
        QMutexLocker locker(&catalogMutex());
        catalog().clear();
    }
    if (loadProcesses())
        return;
    Persistence::CatalogFile::keepBackup(readPath());
    loadDefaultProcesses();
    saveProcesses();
}

Process ProcessFactory::getProcess(quint32 id) const
{
    QMutexLocker locker(&catalogMutex());
    return catalog().value(id, Process());
}

Process ProcessFactory::getProcess(const QString &name) const
{
    QMutexLocker locker(&catalogMutex());
    for (const Process &process : catalog()) {
        if (process.getName() == name)
            return process;
    }
    return Process();
}

QList<Process> ProcessFactory::getProcesses() const
{
    QMutexLocker locker(&catalogMutex());
    return catalog().values();
}

bool ProcessFactory::setProcess(const Process &process)
{
    if (process.getId() == 0)
        return false;
    QMutexLocker locker(&catalogMutex());
    catalog().insert(process.getId(), process);
    return true;
}

bool ProcessFactory::loadProcesses()
{
    QMutexLocker locker(&catalogMutex());
    QMap<quint32, Process> &map = catalog();
    return Persistence::CatalogFile::read(
        readPath(), QStringLiteral("Processes"), [&map](QXmlStreamReader &reader) {
            bool ok = false;
            const Process process = Persistence::ProcessArchiver::loadProcess(&reader, &ok);
            if (ok)
                map.insert(process.getId(), process);
        });
}

bool ProcessFactory::saveProcesses() const
{
    QMutexLocker locker(&catalogMutex());
    const QMap<quint32, Process> &map = catalog();
    return Persistence::CatalogFile::write(
        QLatin1String(fileName), QStringLiteral("Processes"), [&map](QXmlStreamWriter &writer) {
            for (const Process &process : map)
                Persistence::ProcessArchiver::saveProcess(&writer, process);
        });
}

void ProcessFactory::loadDefaultProcesses()
{
    QMutexLocker locker(&catalogMutex());
    QMap<quint32, Process> &map = catalog();
    map.clear();
    for (const DefaultProcess &p : defaultProcesses) {
        QList<quint32> materials;
        for (const QString &id :
             QString::fromLatin1(p.materials).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            materials.append(id.toUInt());
        map.insert(p.id, Process(QString::fromLatin1(p.name), p.id, materials));
    }
}

} // namespace Process
} // namespace Model
