#include "Core/Operations/volumestatestore.h"

#include "Core/Operations/cellchecksum.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/Persistence/totalvolumearchiver.h"
#include "Util/temporaryfiles.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cstdlib>

namespace Core {
namespace Operations {

namespace {

// Attempts in the working directory before the temporary folder is used instead: a
// read-only working directory must not keep the program from starting.
const int attemptsInWorkingDirectory = 200;
const int writeChunk = 1 << 20;

bool createEmpty(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Text))
        return false;
    file.close();
    return true;
}

// Decimal digits of v at out, returning the end.
char *writeUInt(char *out, quint32 v)
{
    char digits[10];
    int n = 0;
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n)
        *out++ = digits[--n];
    return out;
}

/// Whitespace-separated tokens from a file, read in large blocks.
class TokenReader
{
public:
    explicit TokenReader(QFile &file) : file(file), pos(0), end(0) { buffer.resize(writeChunk); }

    bool readWord(QByteArray &word)
    {
        word.clear();
        int c;
        while ((c = peek()) >= 0 && isSpace(c))
            ++pos;
        while ((c = peek()) >= 0 && !isSpace(c)) {
            word.append(char(c));
            ++pos;
        }
        return !word.isEmpty();
    }

    /// A token that is an unsigned decimal number fitting 32 bits; false otherwise.
    bool readUInt(quint32 &value)
    {
        int c;
        while ((c = peek()) >= 0 && (c == ' ' || c == '\t' || c == '\r'))
            ++pos;
        quint64 v = 0;
        int digits = 0;
        while ((c = peek()) >= '0' && c <= '9') {
            v = v * 10 + quint64(c - '0');
            if (v > 0xffffffffull)
                return false;
            ++digits;
            ++pos;
        }
        if (digits == 0 || (c >= 0 && !isSpace(c)))
            return false;
        value = quint32(v);
        return true;
    }

    /// Up to count values of a record into out, stopping at the end of the line or at a token
    /// that is not an unsigned 32-bit number; returns how many were read.
    quint64 readUInts(quint32 *out, quint64 count)
    {
        quint64 n = 0;
        while (n < count) {
            int c;
            while ((c = peek()) == ' ' || c == '\t' || c == '\r')
                ++pos;
            if (c < '0' || c > '9')
                break;
            quint64 v = 0;
            // Digits straight from the buffer: this loop is most of the time of an undo.
            for (;;) {
                const char *p = buffer.constData() + pos;
                const char *e = buffer.constData() + end;
                while (p != e && *p >= '0' && *p <= '9' && v <= 0xffffffffull)
                    v = v * 10 + quint64(*p++ - '0');
                pos = int(p - buffer.constData());
                if (p != e || v > 0xffffffffull || peek() < '0' || peek() > '9')
                    break;
            }
            c = peek();
            if (v > 0xffffffffull || (c >= 0 && !isSpace(c)))
                break;
            out[n++] = quint32(v);
        }
        return n;
    }

    void skipLine()
    {
        int c;
        while ((c = peek()) >= 0) {
            ++pos;
            if (c == '\n')
                return;
        }
    }

private:
    static bool isSpace(int c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

    int peek()
    {
        if (pos == end) {
            const qint64 n = file.read(buffer.data(), buffer.size());
            if (n <= 0)
                return -1;
            pos = 0;
            end = int(n);
        }
        return static_cast<unsigned char>(buffer[pos]);
    }

    QFile &file;
    QByteArray buffer;
    int pos;
    int end;
};

/// Reads the head of record (its tag and instance): true when reader then stands at its values.
bool readRecordHead(TokenReader &reader, const VolumeStateStore::Record &record)
{
    QByteArray word;
    quint32 number = 0;
    return reader.readWord(word) && word == record.key.toUtf8() && reader.readUInt(number) &&
           number == record.instance;
}

} // namespace

VolumeStateStore::VolumeStateStore() : limit(defaultSizeLimit)
{
    // Seeded from the clock once; a taken name draws the next number at once instead of
    // re-seeding, so a second window (or run) within the same second does not freeze until
    // the clock moves on.
    std::srand(uint(QDateTime::currentSecsSinceEpoch()));
    for (int attempt = 0;; ++attempt) {
        const QString number = QString::number(std::rand());
        const QDir dir =
            attempt < attemptsInWorkingDirectory ? QDir::current() : QDir(QDir::tempPath());
        const QString undo =
            dir.absoluteFilePath(QStringLiteral("undo") + number + QStringLiteral(".temp"));
        const QString redo =
            dir.absoluteFilePath(QStringLiteral("redo") + number + QStringLiteral(".temp"));
        if (QFile::exists(undo) || QFile::exists(redo))
            continue;
        if (createEmpty(undo) && createEmpty(redo)) {
            undoFile = undo;
            redoFile = redo;
            Util::TemporaryFiles::add(undoFile);
            Util::TemporaryFiles::add(redoFile);
            break;
        }
        QFile::remove(undo);
        QFile::remove(redo);
        QThread::msleep(5);
    }
    registerArchiver(1, ArchiverPtr(new Model::Persistence::TotalVolumeArchiver()));
}

VolumeStateStore::~VolumeStateStore()
{
    QFile::remove(undoFile);
    QFile::remove(redoFile);
    Util::TemporaryFiles::remove(undoFile);
    Util::TemporaryFiles::remove(redoFile);
}

void VolumeStateStore::registerArchiver(quint32 type, const ArchiverPtr &archiver)
{
    archivers.insert(type, archiver);
}

VolumeStateStore::ArchiverPtr VolumeStateStore::getArchiver(quint32 type) const
{
    return archivers.value(type);
}

VolumeStateStore::RecordPtr VolumeStateStore::recordCells(const QString &fileName,
                                                          const QString &key, quint32 instance,
                                                          Model::Automaton::TotalVolume &volume,
                                                          QString *error)
{
    const quint64 fingerprint = CellChecksum::ofMaterials(volume);
    const RecordPtr last = lastRecord.value(volume.getId()).lock();
    if (last && !last->lost && last->cellCount == volume.getCellCount() &&
        last->fingerprint == fingerprint)
        return last;
    return writeRecord(fileName, key, instance, volume, fingerprint, error);
}

VolumeStateStore::RecordPtr VolumeStateStore::appendRecord(const QString &fileName,
                                                           const QString &key, quint32 instance,
                                                           Model::Automaton::TotalVolume &volume,
                                                           QString *error)
{
    return writeRecord(fileName, key, instance, volume, CellChecksum::ofMaterials(volume), error);
}

VolumeStateStore::RecordPtr VolumeStateStore::writeRecord(const QString &fileName,
                                                          const QString &key, quint32 instance,
                                                          Model::Automaton::TotalVolume &volume,
                                                          quint64 fingerprint, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return RecordPtr();
    }
    const qint64 offset = file.size();
    QByteArray chunk;
    chunk.resize(writeChunk + 64);
    char *out = chunk.data();
    const QByteArray head = key.toUtf8() + ' ' + QByteArray::number(instance);
    out = std::copy(head.constBegin(), head.constEnd(), out);

    bool ok = true;
    const quint64 count = volume.getCellCount();
    const Model::Automaton::Voxel *cells = volume.lockCells();
    for (quint64 i = 0; i < count && ok; ++i) {
        *out++ = ' ';
        out = writeUInt(out, cells[i].material);
        if (out - chunk.constData() >= writeChunk) {
            ok = file.write(chunk.constData(), out - chunk.constData()) == out - chunk.constData();
            out = chunk.data();
        }
    }
    volume.releaseCells();
    *out++ = '\n';
    if (ok)
        ok = file.write(chunk.constData(), out - chunk.constData()) == out - chunk.constData();
    ok = ok && file.flush();
    if (!ok) {
        if (error)
            *error = file.errorString();
        file.resize(offset);
        return RecordPtr();
    }
    RecordPtr record(new Record);
    record->fileName = fileName;
    record->offset = offset;
    record->length = file.size() - offset;
    record->key = key;
    record->instance = instance;
    record->cellCount = count;
    record->fingerprint = fingerprint;
    records.push_back(record);
    lastRecord.insert(volume.getId(), record);
    return record;
}

void VolumeStateStore::noteVolumeHolds(quint32 volumeId, const RecordPtr &record)
{
    if (record)
        lastRecord.insert(volumeId, record);
}

bool VolumeStateStore::readRecord(const Record &record, quint64 count,
                                  std::vector<quint32> &values) const
{
    if (record.lost || record.cellCount != count)
        return false;
    values.resize(count);
    return readRecordInBlocks(record, count,
                              [&values](quint64 first, const quint32 *block, quint64 n) {
                                  std::copy(block, block + n, values.begin() + qint64(first));
                              });
}

bool VolumeStateStore::readRecordInBlocks(
    const Record &record, quint64 count,
    const std::function<void(quint64, const quint32 *, quint64)> &take) const
{
    if (record.lost || record.cellCount != count)
        return false;
    QFile file(record.fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(record.offset))
        return false;
    TokenReader reader(file);
    if (!readRecordHead(reader, record))
        return false;
    quint32 block[4096];
    for (quint64 first = 0; first < count;) {
        const quint64 n = qMin<quint64>(sizeof(block) / sizeof(block[0]), count - first);
        if (reader.readUInts(block, n) != n)
            return false;
        if (take)
            take(first, block, n);
        first += n;
    }
    return true;
}

bool VolumeStateStore::readRecord(const QString &fileName, const QString &key, quint32 instance,
                                  quint64 count, std::vector<quint32> &values) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    TokenReader reader(file);
    const QByteArray wanted = key.toUtf8();
    QByteArray word;
    while (reader.readWord(word)) {
        quint32 number = 0;
        if (word == wanted && reader.readUInt(number) && number == instance) {
            values.resize(count);
            if (reader.readUInts(values.data(), count) == count)
                return true;
            // A short or damaged record restores nothing; a later one may still do.
        }
        reader.skipLine();
    }
    return false;
}

qint64 VolumeStateStore::fileBytes() const
{
    return QFileInfo(undoFile).size() + QFileInfo(redoFile).size();
}

qint64 VolumeStateStore::liveBytes() const
{
    qint64 bytes = 0;
    for (const boost::weak_ptr<Record> &weak : records) {
        const RecordPtr record = weak.lock();
        if (record && !record->lost)
            bytes += record->length;
    }
    return bytes;
}

bool VolumeStateStore::compact(QString *error)
{
    std::vector<RecordPtr> live;
    for (const boost::weak_ptr<Record> &weak : records) {
        const RecordPtr record = weak.lock();
        if (record && !record->lost)
            live.push_back(record);
    }
    // Records were appended in writing order, so within a file they are in offset order and
    // each one only ever moves towards the front: copying forward in place is safe.
    bool ok = true;
    for (const QString &fileName : {undoFile, redoFile}) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadWrite)) {
            if (error)
                *error = file.errorString();
            ok = false;
            continue;
        }
        QByteArray chunk;
        chunk.resize(writeChunk);
        qint64 target = 0;
        for (const RecordPtr &record : live) {
            if (record->fileName != fileName)
                continue;
            if (record->offset != target) {
                bool moved = true;
                for (qint64 done = 0; done < record->length && moved;) {
                    const qint64 n = qMin<qint64>(writeChunk, record->length - done);
                    moved = file.seek(record->offset + done) && file.read(chunk.data(), n) == n &&
                            file.seek(target + done) && file.write(chunk.constData(), n) == n;
                    done += n;
                }
                if (!moved) {
                    // Part of it may be overwritten already: it can restore nothing now.
                    record->lost = true;
                    if (error)
                        *error = file.errorString();
                    ok = false;
                    break;
                }
                record->offset = target;
            }
            target += record->length;
        }
        if (!file.flush() || !file.resize(ok ? target : file.size()))
            ok = false;
    }
    records.assign(live.begin(), live.end());
    return ok;
}

} // namespace Operations
} // namespace Core
