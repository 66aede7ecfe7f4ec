#include "Core/Operations/Photolithography/layoutfile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <new>
#include <set>

namespace Core {
namespace Operations {

namespace {

using Element = LayoutMask::Element;

const char readerName[] = "celvane-gdsread";
// One GDSII XY record holds at most 8191 points; a little room for readers that join records.
const quint32 maxPoints = 1u << 20;

QString notReadable()
{
    return QStringLiteral("the file is not a readable GDSII layout");
}

/// Reads the space-separated words of one line of the reader's output.
class Words
{
public:
    Words(const char *begin, const char *end) : at(begin), end(end) {}

    bool word(QByteArray &out)
    {
        if (at >= end)
            return false;
        const char *space = std::find(at, end, ' ');
        out = QByteArray::fromRawData(at, int(space - at));
        at = space < end ? space + 1 : end;
        return !out.isEmpty();
    }
    bool integer(qint64 &value, qint64 low, qint64 high)
    {
        QByteArray w;
        bool ok = false;
        if (word(w))
            value = w.toLongLong(&ok);
        return ok && value >= low && value <= high;
    }
    bool number(double &value)
    {
        QByteArray w;
        bool ok = false;
        if (word(w))
            value = w.toDouble(&ok);
        return ok && std::isfinite(value);
    }
    bool name(QString &value)
    {
        QByteArray w;
        if (!word(w))
            return false;
        if (w == "-") {
            value.clear();
            return true;
        }
        if (w.size() % 2 || w.size() > 1024)
            return false;
        for (const char c : w)
            if (!std::isxdigit(uchar(c)))
                return false;
        value = QString::fromLatin1(QByteArray::fromHex(w));
        return true;
    }
    bool points(std::vector<qint32> &xy)
    {
        qint64 count = 0;
        if (!integer(count, 0, maxPoints))
            return false;
        xy.resize(size_t(count) * 2);
        for (qint32 &v : xy) {
            qint64 c = 0;
            if (!integer(c, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()))
                return false;
            v = qint32(c);
        }
        return done();
    }
    bool done() const { return at >= end; }

private:
    const char *at;
    const char *end;
};

/// Reads the reader's output into layout; placedNames gets the cell each placement names, in
/// the order of the placements.
bool parseLines(const QByteArray &output, LayoutMask::Layout &layout,
                std::vector<QString> &placedNames)
{
    const char *at = output.constData(), *const end = at + output.size();
    auto nextLine = [&](Words &words) {
        const char *newline = std::find(at, end, '\n');
        if (newline == end)
            return false; // every line, the last one too, ends in a newline
        words = Words(at, newline);
        at = newline + 1;
        return true;
    };
    Words words(at, at);
    QByteArray w;
    qint64 version = 0;
    if (!nextLine(words) || !words.word(w) || w != "celvane-gdsread" ||
        !words.integer(version, 1, 1) || !words.done())
        return false;
    if (!nextLine(words) || !words.word(w) || w != "unit" || !words.number(layout.userUnit) ||
        !(layout.userUnit > 0.0) || !words.done())
        return false;
    while (nextLine(words)) {
        if (!words.word(w))
            return false;
        if (w == "end")
            return words.done() && at == end;
        if (w == "cell") {
            LayoutMask::Cell cell;
            if (!words.name(cell.name) || !words.done())
                return false;
            layout.cells.push_back(cell);
            continue;
        }
        if (layout.cells.empty())
            return false;
        Element e;
        qint64 value = 0;
        if (w == "b" || w == "p") {
            e.kind = w == "b" ? Element::Boundary : Element::Path;
            if (!words.integer(value, std::numeric_limits<qint32>::min(),
                               std::numeric_limits<qint32>::max()))
                return false;
            e.layer = qint32(value);
            if (e.kind == Element::Path) {
                if (!words.integer(value, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()))
                    return false;
                e.width = qint32(value);
                if (!words.integer(value, 0, 4))
                    return false;
                e.pathType = qint32(value);
            }
        } else if (w == "r") {
            e.kind = Element::Reference;
            QString placed;
            qint64 reflect = 0, columns = 0, rows = 0;
            if (!words.name(placed) || !words.integer(reflect, 0, 1) ||
                !words.number(e.magnification) || !words.number(e.angle) ||
                !words.integer(columns, 0, 32767) || !words.integer(rows, 0, 32767))
                return false;
            e.reflect = reflect;
            e.columns = quint32(columns);
            e.rows = quint32(rows);
            placedNames.push_back(placed);
        } else {
            return false;
        }
        if (!words.points(e.xy))
            return false;
        layout.cells.back().elements.push_back(std::move(e));
    }
    return false; // no "end": the reader stopped half-way
}

/// Points every placement at the index of the cell it names (-1 when there is none).
void resolvePlacements(LayoutMask::Layout &layout, const std::vector<QString> &placedNames)
{
    QHash<QString, int> index;
    for (size_t i = layout.cells.size(); i-- > 0;)
        index.insert(layout.cells[i].name, int(i)); // the first cell of a name wins
    size_t next = 0;
    for (LayoutMask::Cell &cell : layout.cells)
        for (Element &e : cell.elements)
            if (e.kind == Element::Reference)
                e.cell = index.value(placedNames[next++], -1);
}

} // namespace

QString LayoutFile::readerPath()
{
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                          QLatin1String(readerName);
#ifdef CELVANE_GDSREAD_BUILD_PATH
    candidates << QStringLiteral(CELVANE_GDSREAD_BUILD_PATH);
#endif
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QString();
}

bool LayoutFile::parse(const QByteArray &output, LayoutMask::Layout &layout)
{
    LayoutMask::Layout parsed;
    try {
        std::vector<QString> placedNames;
        if (!parseLines(output, parsed, placedNames))
            return false;
        resolvePlacements(parsed, placedNames);
    } catch (const std::bad_alloc &) {
        return false;
    }
    layout = std::move(parsed);
    return true;
}

LayoutFile::Result LayoutFile::read(const QString &fileName, LayoutMask::Layout &layout,
                                    QString *reason)
{
    auto fail = [reason](Result result, const QString &why) {
        if (reason)
            *reason = why;
        return result;
    };
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return fail(NotFound, file.errorString());
    file.close();
    const QString reader = readerPath();
    if (reader.isEmpty())
        return fail(Refused, QStringLiteral("the GDSII reader %1 is not installed next to the "
                                            "program")
                                 .arg(QLatin1String(readerName)));
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(reader, {QFileInfo(fileName).absoluteFilePath()}, QIODevice::ReadOnly);
    if (!process.waitForStarted(timeoutMs))
        return fail(Refused, QStringLiteral("the GDSII reader %1 cannot be started (%2)")
                                 .arg(reader, process.errorString()));
    QByteArray output;
    bool timedOut = false, tooLong = false;
    while (process.state() != QProcess::NotRunning) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        process.waitForReadyRead(int(std::min<qint64>(left, 200)));
        output += process.readAllStandardOutput();
        if (output.size() > maxOutput) {
            tooLong = true;
            break;
        }
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
    }
    output += process.readAllStandardOutput();
    qDebug().nospace() << "Time to load: " << clock.elapsed() << " ms (" << fileName << ")";
    if (timedOut)
        return fail(Refused, notReadable() + QStringLiteral(" (reading it took longer than "
                                                            "%1 s)")
                                                 .arg(timeoutMs / 1000));
    if (tooLong)
        return fail(Refused, notReadable() + QStringLiteral(" (it describes too much)"));
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        !parse(output, layout))
        return fail(Refused, notReadable());
    return Loaded;
}

std::vector<qint32> LayoutFile::layers(const LayoutMask::Layout &layout)
{
    std::set<qint32> found;
    for (const LayoutMask::Cell &cell : layout.cells)
        for (const Element &e : cell.elements)
            if (e.kind != Element::Reference)
                found.insert(e.layer);
    return std::vector<qint32>(found.begin(), found.end());
}

bool LayoutFile::rasterise(const LayoutMask::Layout &layout, const Choice &choice, quint32 width,
                           quint32 height, std::vector<bool> &bits, QString *reason)
{
    const int cell = choice.cell.isEmpty() ? LayoutMask::topCell(layout)
                                           : LayoutMask::findCell(layout, choice.cell);
    if (cell < 0) {
        if (reason)
            *reason = choice.cell.isEmpty()
                          ? QStringLiteral("the layout has no top cell")
                          : QStringLiteral("the layout has no cell \"%1\"").arg(choice.cell);
        return false;
    }
    return LayoutMask::rasterise(layout, cell, choice.layer, choice.scale, choice.offsetX,
                                 choice.offsetY, width, height, bits, reason);
}

LayoutFile::Result LayoutFile::loadMask(const Choice &choice, quint32 width, quint32 height,
                                        std::vector<bool> &bits, QString *reason)
{
    LayoutMask::Layout layout;
    const Result result = read(choice.file, layout, reason);
    if (result != Loaded)
        return result;
    return rasterise(layout, choice, width, height, bits, reason) ? Loaded : Refused;
}

} // namespace Operations
} // namespace Core
