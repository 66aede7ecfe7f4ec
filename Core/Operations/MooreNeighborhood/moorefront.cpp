#include "Core/Operations/MooreNeighborhood/moorefront.h"

#include "Core/Operations/columnbits.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/progress.h"

#include <algorithm>

using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace Core {
namespace Operations {

namespace {

const quint32 minimumStripWidth = 2;

quint32 countOf(const TotalVolume *volume, quint32 (TotalVolume::*get)() const)
{
    return volume ? (volume->*get)() : 0;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

MooreFront::MooreFront(TotalVolume *volume, quint32 material, qint32 steps, Mode mode)
    : volume(volume), material(material), steps(steps), mode(mode),
      runner(countOf(volume, &TotalVolume::getCellsX), minimumStripWidth),
      cellsX(countOf(volume, &TotalVolume::getCellsX)),
      cellsY(countOf(volume, &TotalVolume::getCellsY)),
      cellsZ(countOf(volume, &TotalVolume::getCellsZ)), columnWords((cellsZ + 63) / 64),
      stepsRun(0), cells(nullptr), nextCells(nullptr)
{}

bool MooreFront::run(QString *error)
{
    stepsRun = 0;
    const QString process =
        mode == Deposition ? QStringLiteral("Moore deposition") : QStringLiteral("Moore etching");
    if (!volume) {
        setError(error, QStringLiteral("No cell volume for the %1.").arg(process));
        return false;
    }
    if (steps < 0) {
        setError(error,
                 QStringLiteral("The number of cells for the %1 must be at least 0.").arg(process));
        return false;
    }
    cells = volume->lockCells();
    nextCells = volume->lockNextCells();
    bool ok = true;
    bool canceled = false;
    if (steps > 0) {
        // Nothing is written before the last step, so a run that fails leaves the cells as they
        // were.
        try {
            const size_t words = size_t(quint64(cellsX) * cellsY * columnWords);
            Sets sets;
            sets.open.assign(words, 0);
            sets.front.assign(words, 0);
            sets.next.assign(words, 0);
            sets.changed.assign(words, 0);
            std::vector<char> any(size_t(runner.getStripCount()), 0);
            const auto anyFront = [&any]() {
                return std::find(any.begin(), any.end(), 1) != any.end();
            };
            ok = runner.runPhase([&](int strip) {
                if (mode == Deposition)
                    classify<Deposition>(sets, strip);
                else
                    classify<Etching>(sets, strip);
            });
            // The first front: cells to change that touch a source (held in next).
            ok = ok && runner.runPhase([&](int strip) {
                any[size_t(strip)] = advance(sets.next, sets.front, sets, nullptr, strip);
            });
            Util::Progress::reportTotal(quint64(steps));
            while (ok && stepsRun < steps && anyFront()) {
                if (Util::Progress::stopRequested()) {
                    canceled = true;
                    ok = false;
                    break;
                }
                ++stepsRun;
                if (stepsRun == steps) {
                    ok = runner.runPhase([&](int strip) { accumulate(sets, strip); });
                    Util::Progress::reportDone(quint64(stepsRun));
                    break;
                }
                ok = runner.runPhase([&](int strip) {
                    any[size_t(strip)] = advance(sets.front, sets.next, sets, &sets.changed, strip);
                });
                sets.front.swap(sets.next);
                Util::Progress::reportDone(quint64(stepsRun));
            }
            const quint32 changedTo = mode == Deposition ? material : 0;
            ok = ok && runner.runPhase([&](int strip) { writeChanges(sets, strip, changedTo); });
        } catch (...) {
            ok = false;
        }
    }
    volume->releaseCells();
    volume->releaseNextCells();
    cells = nullptr;
    nextCells = nullptr;
    if (!ok && canceled)
        setError(error, QStringLiteral("The %1 was canceled after %2 of %3 steps; the cell volume "
                                       "is unchanged.")
                            .arg(process)
                            .arg(stepsRun)
                            .arg(steps));
    else if (!ok)
        setError(error, QStringLiteral("Not enough memory for the %1; the cell volume is "
                                       "unchanged.")
                            .arg(process));
    if (!ok)
        stepsRun = 0;
    return ok;
}

template <MooreFront::Mode M> void MooreFront::classify(Sets &sets, int strip) const
{
    const quint64 firstColumn = quint64(runner.getFirstX(strip)) * cellsY;
    const quint64 endColumn = quint64(runner.getEndX(strip)) * cellsY;
    for (quint64 column = firstColumn; column < endColumn; ++column) {
        const Voxel *cell = cells + column * cellsZ;
        quint64 *open = &sets.open[size_t(column * columnWords)];
        quint64 *source = &sets.next[size_t(column * columnWords)];
        for (quint32 w = 0; w < columnWords; ++w) {
            const quint32 first = w * 64;
            const quint32 end = qMin(first + 64, cellsZ);
            quint64 openWord = 0, sourceWord = 0;
            for (quint32 z = first; z < end; ++z) {
                const quint32 own = cell[z].material;
                const quint64 isOpen = M == Deposition ? own == 0 : own == material;
                const quint64 isSource = !isOpen && (M == Deposition || own == 0);
                openWord |= isOpen << (z - first);
                sourceWord |= isSource << (z - first);
            }
            open[w] = openWord;
            source[w] = sourceWord;
        }
    }
}

bool MooreFront::advance(const Bits &source, Bits &out, Sets &sets, Bits *changed, int strip) const
{
    const quint32 firstX = runner.getFirstX(strip);
    const quint32 endX = runner.getEndX(strip);
    const quint32 W = columnWords;
    const size_t layerWords = size_t(cellsY) * W;
    // Per layer the dilation of the source along z and y; three layers at a time.
    std::vector<quint64> zRow(layerWords), planes(3 * layerWords);
    const auto dilateLayer = [&](quint32 x, quint64 *plane) {
        const quint64 *layer = &source[size_t(x) * layerWords];
        for (size_t c = 0; c < layerWords; c += W)
            for (quint32 w = 0; w < W; ++w) {
                const quint64 v = layer[c + w];
                quint64 d = v | (v << 1) | (v >> 1);
                if (w > 0)
                    d |= layer[c + w - 1] >> 63;
                if (w + 1 < W)
                    d |= layer[c + w + 1] << 63;
                zRow[c + w] = d;
            }
        ColumnBits::spreadAcrossY(zRow.data(), plane, layerWords, W);
    };
    quint64 *below = &planes[0];
    quint64 *here = &planes[layerWords];
    quint64 *above = &planes[2 * layerWords];
    if (firstX > 0)
        dilateLayer(firstX - 1, below);
    else
        std::fill(below, below + layerWords, 0);
    dilateLayer(firstX, here);
    quint64 found = 0;
    for (quint32 x = firstX; x < endX; ++x) {
        if (x + 1 < cellsX)
            dilateLayer(x + 1, above);
        else
            std::fill(above, above + layerWords, 0);
        const size_t base = size_t(x) * layerWords;
        for (size_t k = 0; k < layerWords; ++k) {
            const quint64 reached = (below[k] | here[k] | above[k]) & sets.open[base + k];
            out[base + k] = reached;
            sets.open[base + k] &= ~reached;
            found |= reached;
            if (changed)
                (*changed)[base + k] |= source[base + k];
        }
        quint64 *oldBelow = below;
        below = here;
        here = above;
        above = oldBelow;
    }
    return found != 0;
}

void MooreFront::accumulate(Sets &sets, int strip) const
{
    const size_t layerWords = size_t(cellsY) * columnWords;
    const size_t first = size_t(runner.getFirstX(strip)) * layerWords;
    const size_t end = size_t(runner.getEndX(strip)) * layerWords;
    for (size_t k = first; k < end; ++k)
        sets.changed[k] |= sets.front[k];
}

void MooreFront::writeChanges(const Sets &sets, int strip, quint32 changedTo) const
{
    const quint64 firstColumn = quint64(runner.getFirstX(strip)) * cellsY;
    const quint64 endColumn = quint64(runner.getEndX(strip)) * cellsY;
    for (quint64 column = firstColumn; column < endColumn; ++column)
        for (quint32 w = 0; w < columnWords; ++w) {
            quint64 word = sets.changed[size_t(column * columnWords + w)];
            while (word) {
                const quint64 i = column * cellsZ + w * 64u + quint64(__builtin_ctzll(word));
                cells[i].material = nextCells[i].material = changedTo;
                word &= word - 1;
            }
        }
}

} // namespace Operations
} // namespace Core
