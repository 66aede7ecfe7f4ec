#include "UI/BatchRun/processlistarchiver.h"

#include "Model/Persistence/xmlguard.h"
#include "Util/safesave.h"

#include <QColor>
#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace Ui {

namespace {

const QString listTag = QStringLiteral("Process-List");
const QString dataTag = QStringLiteral("Process-Data");
const QString parameterTag = QStringLiteral("Parameter");

} // namespace

QString ProcessListArchiver::parameterType(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<std::vector<bool>>())
        return QStringLiteral("vector");
    if (value.userType() == qMetaTypeId<Util::Vector3D>())
        return QStringLiteral("Util::Vector3D");
    return QString::fromLatin1(value.typeName());
}

QString ProcessListArchiver::parameterData(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<std::vector<bool>>()) {
        const std::vector<bool> bits = value.value<std::vector<bool>>();
        QString text(int(bits.size()), QLatin1Char('0'));
        for (size_t i = 0; i < bits.size(); ++i)
            if (bits[i])
                text[int(i)] = QLatin1Char('1');
        return text;
    }
    if (value.userType() == qMetaTypeId<Util::Vector3D>()) {
        const Util::Vector3D v = value.value<Util::Vector3D>();
        return QStringLiteral("%1;%2;%3")
            .arg(QString::number(v.x, 'g', 10), QString::number(v.y, 'g', 10),
                 QString::number(v.z, 'g', 10));
    }
    if (value.userType() == QMetaType::QColor)
        return value.value<QColor>().name();
    return value.toString();
}

QVariant ProcessListArchiver::parameterValue(const QString &type, const QString &data)
{
    bool ok = false;
    if (type == QLatin1String("bool"))
        return data == QLatin1String("true")    ? QVariant(true)
               : data == QLatin1String("false") ? QVariant(false)
                                                : QVariant(data);
    if (type == QLatin1String("double")) {
        const double d = data.toDouble(&ok);
        return ok ? QVariant(d) : QVariant(data);
    }
    if (type == QLatin1String("float")) {
        const float f = data.toFloat(&ok);
        return ok ? QVariant(f) : QVariant(data);
    }
    if (type == QLatin1String("int")) {
        const int i = data.toInt(&ok);
        return ok ? QVariant(i) : QVariant(data);
    }
    if (type == QLatin1String("uint")) {
        const uint u = data.toUInt(&ok);
        return ok ? QVariant(u) : QVariant(data);
    }
    if (type == QLatin1String("QColor")) {
        const QColor colour(data);
        return colour.isValid() ? QVariant(colour) : QVariant(data);
    }
    if (type == QLatin1String("vector")) {
        std::vector<bool> bits;
        bits.reserve(size_t(data.size()));
        for (const QChar c : data)
            bits.push_back(c == QLatin1Char('1'));
        return QVariant::fromValue(bits);
    }
    if (type == QLatin1String("Util::Vector3D")) {
        const QStringList parts = data.split(QLatin1Char(';'));
        double xyz[3] = {0.0, 0.0, 0.0};
        bool all = parts.size() == 3;
        for (int i = 0; all && i < 3; ++i)
            xyz[i] = parts.at(i).toDouble(&all);
        return all ? QVariant::fromValue(Util::Vector3D(xyz[0], xyz[1], xyz[2])) : QVariant(data);
    }
    return QVariant(data);
}

bool ProcessListArchiver::saveProcessList(const QString &fileName, const QList<ProcessData> &list)
{
    error.clear();
    // Written aside and put in place whole: a failed save keeps the previous list.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    writer.setDevice(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeStartElement(listTag);
    for (const ProcessData &data : list) {
        writer.writeStartElement(dataTag);
        writer.writeAttribute(QStringLiteral("process-type"),
                              QString::number(data.getProcessType()));
        const QMap<QString, QVariant> &parameters = data.getParameters();
        for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it) {
            writer.writeEmptyElement(parameterTag);
            writer.writeAttribute(QStringLiteral("parameter-name"), it.key());
            writer.writeAttribute(QStringLiteral("parameter-type"), parameterType(it.value()));
            writer.writeAttribute(QStringLiteral("parameter-data"), parameterData(it.value()));
            writer.writeAttribute(QStringLiteral("parameter-visibility"),
                                  data.isVisible(it.key()) ? QStringLiteral("true")
                                                           : QStringLiteral("false"));
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    const bool written = !writer.hasError();
    writer.setDevice(nullptr);
    return Util::SafeSave::commit(file, written, &error);
}

bool ProcessListArchiver::loadProcessList(const QString &fileName, QList<ProcessData> &list)
{
    error.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    return loadProcessList(file, list);
}

bool ProcessListArchiver::loadProcessList(QIODevice &device, QList<ProcessData> &list)
{
    error.clear();
    reader.clear();
    // Process lists never declare a document type, nor carry crowded tags: the guard refuses
    // both before the reader parses them.
    Model::Persistence::XmlGuard guard(device);
    reader.setDevice(&guard);
    QList<ProcessData> read;
    if (!guard.readToRoot(reader, &error)) {
        reader.setDevice(nullptr);
        return false;
    }
    if (reader.name() != listTag) {
        reader.setDevice(nullptr);
        error = QStringLiteral("the file is not a process list");
        return false;
    }
    while (reader.readNextStartElement()) {
        const QString tag = reader.name().toString();
        qDebug().noquote() << "CurrentTag: " + tag + " in line " +
                                  QString::number(reader.lineNumber());
        if (tag == dataTag) {
            read.append(readProcessData());
        } else {
            qDebug().noquote() << "Unknown tag found in file: " + tag + " in line " +
                                      QString::number(reader.lineNumber());
            reader.skipCurrentElement();
        }
    }
    if (reader.hasError() || !guard.refusal().isEmpty())
        error =
            QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(guard.errorString(reader));
    reader.setDevice(nullptr);
    if (!error.isEmpty())
        return false;
    list.append(read);
    return true;
}

ProcessData ProcessListArchiver::readProcessData()
{
    bool ok = false;
    const quint32 type = reader.attributes().value(QStringLiteral("process-type")).toUInt(&ok);
    // A missing or unreadable code reads as no known type: listed as an unknown process.
    ProcessData data(ok ? type : 0xffffffffu);
    while (reader.readNextStartElement()) {
        if (reader.name() == parameterTag) {
            const QXmlStreamAttributes a = reader.attributes();
            const QString name = a.value(QStringLiteral("parameter-name")).toString();
            data.addParameter(name,
                              parameterValue(a.value(QStringLiteral("parameter-type")).toString(),
                                             a.value(QStringLiteral("parameter-data")).toString()),
                              a.value(QStringLiteral("parameter-visibility")) ==
                                  QLatin1String("true"));
        } else {
            qDebug().noquote() << "Unknown tag found in file: " + reader.name().toString() +
                                      " in line " + QString::number(reader.lineNumber());
        }
        reader.skipCurrentElement();
    }
    return data;
}

} // namespace Ui
