#include "Core/Operations/volumestatestore.h"

#include "Model/Automaton/totalvolume.h"
#include "Model/Persistence/totalvolumearchiver.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdlib>

namespace Core {
namespace Operations {

namespace {

// Attempts in the working directory before the temporary folder is used instead: a
// read-only working directory must not keep the program from starting.
const int attemptsInWorkingDirectory = 200;
const int writeChunk = 1 << 20;

QString recordKey(const QString &fileName, const QString &key, quint32 instance)
{
    return fileName + QLatin1Char('\n') + key + QLatin1Char('\n') + QString::number(instance);
}

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

} // namespace

VolumeStateStore::VolumeStateStore()
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
}

void VolumeStateStore::registerArchiver(quint32 type, const ArchiverPtr &archiver)
{
    archivers.insert(type, archiver);
}

VolumeStateStore::ArchiverPtr VolumeStateStore::getArchiver(quint32 type) const
{
    return archivers.value(type);
}

bool VolumeStateStore::appendRecord(const QString &fileName, const QString &key, quint32 instance,
                                    Model::Automaton::TotalVolume &volume, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
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
        return false;
    }
    recordOffsets.insert(recordKey(fileName, key, instance), offset);
    return true;
}

bool VolumeStateStore::readRecord(const QString &fileName, const QString &key, quint32 instance,
                                  quint64 count, std::vector<quint32> &values) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 known = recordOffsets.value(recordKey(fileName, key, instance), -1);
    if (known >= 0 && !file.seek(known))
        return false;

    TokenReader reader(file);
    const QByteArray wanted = key.toUtf8();
    QByteArray word;
    while (reader.readWord(word)) {
        quint32 number = 0;
        if (word == wanted && reader.readUInt(number) && number == instance) {
            values.assign(count, 0);
            quint64 i = 0;
            while (i < count && reader.readUInt(values[i]))
                ++i;
            if (i == count)
                return true;
            // A short or damaged record restores nothing; a later one may still do.
        }
        reader.skipLine();
    }
    return false;
}

} // namespace Operations
} // namespace Core
