#include "Model/Persistence/totalvolumearchiver.h"

#include "Model/Automaton/totalvolume.h"
#include "Model/Persistence/materialarchiver.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <vector>

namespace Model {
namespace Persistence {

using Automaton::TotalVolume;
using Automaton::Voxel;

namespace {

// Characters of State text written per call to the writer: fewer than the file buffer holds,
// so a write that fails midway leaves the rest buffered and a flush learns why it failed.
const int stateChunk = 1 << 13;

bool readCount(const QXmlStreamAttributes &attributes, const char *name, quint32 &value)
{
    bool ok = false;
    value = attributes.value(QLatin1String(name)).toUInt(&ok, 10);
    return ok;
}

/// An optional number: absent, it is the fallback; present, it must be a finite number whose
/// magnitude does not exceed limit.
bool readNumber(const QXmlStreamAttributes &attributes, const char *name, double fallback,
                double limit, double &value)
{
    const QStringRef text = attributes.value(QLatin1String(name));
    if (text.isEmpty()) {
        value = fallback;
        return true;
    }
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value) && std::fabs(value) <= limit;
}

/// Three optional numbers named prefix plus x, y and z.
bool readTriple(const QXmlStreamAttributes &attributes, const char *prefix, double fallback,
                double limit, double (&values)[3])
{
    bool ok = true;
    for (int axis = 0; axis < 3; ++axis) {
        const QByteArray name = QByteArray(prefix) + char('x' + axis);
        ok = readNumber(attributes, name.constData(), fallback, limit, values[axis]) && ok;
    }
    return ok;
}

/// Blank-separated unsigned decimals into ids, stopping when ids is full, fed piece by piece
/// as the text streams in: a number may span two pieces. A document may hold more text than
/// one string can, so the text is never gathered.
class StateParser
{
public:
    explicit StateParser(std::vector<quint32> &ids) : ids(ids), next(0), value(0), digits(0) {}

    /// False, with a reason, on anything that is not such a number.
    bool feed(const QChar *p, const QChar *end, QString *error)
    {
        while (p < end && next < ids.size()) {
            const ushort c = p->unicode();
            if (c >= '0' && c <= '9') {
                value = value * 10 + (c - '0');
                if (value > 0xffffffffull)
                    return fail(error);
                ++digits;
            } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
                if (digits)
                    store();
            } else {
                return fail(error);
            }
            ++p;
        }
        return true;
    }

    /// The end of the text: a number running up to it counts.
    void finish()
    {
        if (digits)
            store();
    }

private:
    void store()
    {
        if (next < ids.size())
            ids[next++] = quint32(value);
        value = 0;
        digits = 0;
    }

    bool fail(QString *error)
    {
        if (error)
            *error = QStringLiteral("the cell states hold a value that is not a material "
                                    "id (cell %1)")
                         .arg(next);
        return false;
    }

    std::vector<quint32> &ids;
    size_t next;
    quint64 value;
    int digits;
};

/// Reads the State element the reader stands on into ids, one text token at a time; the
/// reader ends on the element's end, also when the text is refused.
bool readState(QXmlStreamReader &reader, std::vector<quint32> &ids, QString *error)
{
    StateParser parser(ids);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isCharacters()) {
            const QStringRef text = reader.text();
            if (!parser.feed(text.constData(), text.constData() + text.size(), error)) {
                reader.skipCurrentElement();
                return false;
            }
        } else if (reader.isStartElement()) {
            reader.skipCurrentElement();
        } else if (reader.isEndElement()) {
            break;
        }
    }
    parser.finish();
    return true;
}

} // namespace

TotalVolumeArchiver::TotalVolumeArchiver()
    : writer(nullptr), reader(nullptr), map(nullptr), inputSize(0)
{}

bool TotalVolumeArchiver::writeObject(const boost::shared_ptr<Model::Object> &object)
{
    const boost::shared_ptr<TotalVolume> volume = boost::dynamic_pointer_cast<TotalVolume>(object);
    if (!volume || !writer)
        return false;

    writer->writeStartElement(QStringLiteral("Object"));
    writer->writeAttribute(QStringLiteral("object-type"), QString::number(volume->getType()));
    writer->writeAttribute(QStringLiteral("size-x"), QString::number(volume->getCellsX()));
    writer->writeAttribute(QStringLiteral("size-y"), QString::number(volume->getCellsY()));
    writer->writeAttribute(QStringLiteral("size-z"), QString::number(volume->getCellsZ()));
    writer->writeAttribute(QStringLiteral("cellsize-x"),
                           MaterialArchiver::numberToText(volume->getCellSizeX()));
    writer->writeAttribute(QStringLiteral("cellsize-y"),
                           MaterialArchiver::numberToText(volume->getCellSizeY()));
    writer->writeAttribute(QStringLiteral("cellsize-z"),
                           MaterialArchiver::numberToText(volume->getCellSizeZ()));

    writer->writeStartElement(QStringLiteral("State"));
    // Every id followed by one blank, written in chunks: no string per cell.
    QString chunk;
    chunk.reserve(stateChunk + 16);
    char digits[16];
    const quint64 count = volume->getCellCount();
    const Voxel *cells = volume->lockCells();
    for (quint64 i = 0; i < count; ++i) {
        quint32 v = cells[i].material;
        int n = 0;
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v);
        while (n)
            chunk.append(QLatin1Char(digits[--n]));
        chunk.append(QLatin1Char(' '));
        if (chunk.size() >= stateChunk) {
            writer->writeCharacters(chunk);
            chunk.resize(0);
        }
    }
    volume->releaseCells();
    if (!chunk.isEmpty())
        writer->writeCharacters(chunk);
    writer->writeEndElement();

    const Util::Vector3D position = volume->getPosition();
    writer->writeEmptyElement(QStringLiteral("Position"));
    writer->writeAttribute(QStringLiteral("pos-x"),
                           MaterialArchiver::numberToText(float(position.x)));
    writer->writeAttribute(QStringLiteral("pos-y"),
                           MaterialArchiver::numberToText(float(position.y)));
    writer->writeAttribute(QStringLiteral("pos-z"),
                           MaterialArchiver::numberToText(float(position.z)));
    writer->writeEndElement();
    return !writer->hasError();
}

boost::shared_ptr<Model::Object> TotalVolumeArchiver::readObject(QString *error)
{
    typedef boost::shared_ptr<Model::Object> ObjectPtr;
    if (!reader || !reader->isStartElement() || reader->name() != QLatin1String("Object")) {
        if (error)
            *error = QStringLiteral("no cell volume to read");
        return ObjectPtr();
    }

    const QXmlStreamAttributes attributes = reader->attributes();
    quint32 cellsX = 0, cellsY = 0, cellsZ = 0;
    const bool countsRead = readCount(attributes, "size-x", cellsX) &&
                            readCount(attributes, "size-y", cellsY) &&
                            readCount(attributes, "size-z", cellsZ);
    // Beyond the coordinate limit the view's depth range and float positions fail.
    const double limit = Model::Object::coordinateLimit;
    double cellSize[3] = {1.0, 1.0, 1.0};
    const bool sizesRead = readTriple(attributes, "cellsize-", 1.0, limit, cellSize);
    const quint32 counts[3] = {cellsX, cellsY, cellsZ};
    bool sizesSane = sizesRead;
    for (int axis = 0; axis < 3; ++axis)
        sizesSane = sizesSane && cellSize[axis] > 0.0 && counts[axis] * cellSize[axis] <= limit;

    QString reason;
    // Refused before anything as large as the volume is allocated; the id list comes on top
    // of the two cell arrays (the text of the cell states streams through).
    const quint64 extra =
        quint64(TotalVolume::arrayBytes(cellsX, cellsY, cellsZ) / sizeof(Voxel)) * sizeof(quint32);
    if (!countsRead)
        reason = QStringLiteral("its size is not given as three positive whole numbers");
    else if (TotalVolume::checkAllocation(cellsX, cellsY, cellsZ, &reason, extra) && !sizesSane)
        reason = QStringLiteral("its cell sizes are not three positive numbers that keep it "
                                "within %1 units")
                     .arg(limit, 0, 'f', 0);
    // A short file cannot make a huge volume: states left out would be empty cells, so a
    // few bytes could otherwise claim gigabytes.
    const quint64 cells = quint64(cellsX) * cellsY * cellsZ;
    const qint64 left = inputSize - reader->characterOffset();
    if (reason.isEmpty() && inputSize > 0 && cells > largeVolumeCells &&
        quint64(qMax<qint64>(left, 0)) < cells)
        reason = QStringLiteral("its %1 cells cannot be in the %2 bytes left of the file")
                     .arg(cells)
                     .arg(qMax<qint64>(left, 0));
    if (!reason.isEmpty()) {
        reader->skipCurrentElement();
        if (error)
            *error = reason;
        return ObjectPtr();
    }

    std::vector<quint32> ids;
    Util::Vector3D position(0.0, 0.0, 0.0);
    try {
        ids.assign(quint64(cellsX) * cellsY * cellsZ, 0);
    } catch (const std::bad_alloc &) {
        reader->skipCurrentElement();
        if (error)
            *error = QStringLiteral("out of memory");
        return ObjectPtr();
    }
    while (reader->readNextStartElement()) {
        if (reader->name() == QLatin1String("State")) {
            if (!readState(*reader, ids, &reason)) {
                reader->skipCurrentElement(); // the rest of the Object
                if (error)
                    *error = reason;
                return ObjectPtr();
            }
        } else if (reader->name() == QLatin1String("Position")) {
            double at[3];
            if (!readTriple(reader->attributes(), "pos-", 0.0, limit, at)) {
                reader->skipCurrentElement(); // the Position
                reader->skipCurrentElement(); // the rest of the Object
                if (error)
                    *error = QStringLiteral("its position is not three numbers within %1 units "
                                            "of the origin")
                                 .arg(limit, 0, 'f', 0);
                return ObjectPtr();
            }
            position = Util::Vector3D(at[0], at[1], at[2]);
            reader->skipCurrentElement();
        } else {
            reader->skipCurrentElement();
        }
    }
    if (reader->hasError()) {
        if (error)
            *error = reader->errorString();
        return ObjectPtr();
    }

    if (map && !map->isEmpty()) {
        for (quint32 &id : ids) {
            const auto it = map->constFind(id);
            if (it != map->constEnd())
                id = it.value();
        }
    }
    TotalVolume::Ptr volume =
        TotalVolume::create(cellsX, cellsY, cellsZ, float(cellSize[0]), float(cellSize[1]),
                            float(cellSize[2]), position, ids, error);
    if (volume)
        volume->getPainter().refresh();
    return volume;
}

} // namespace Persistence
} // namespace Model
