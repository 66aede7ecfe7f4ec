#include "Model/ModelExtraction/envelopedecomposition.h"

#include <algorithm>
#include <array>
#include <deque>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace Model {
namespace ModelExtraction {

using Automaton::TotalVolume;
using Automaton::Voxel;

namespace {

/// A face as the plane it lies in and its rectangle: axis, plane coordinate, then the lower
/// corner and the extent along the two other axes.
typedef std::array<quint32, 6> FaceKey;

struct FaceKeyHash
{
    size_t operator()(const FaceKey &key) const
    {
        size_t h = 1469598103934665603ull;
        for (quint32 v : key)
            h = (h ^ v) * 1099511628211ull;
        return h;
    }
};

FaceKey faceKey(const RectangularCuboidEnvelope &e, int face)
{
    const int axis = face / 2;
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    const quint32 plane = e.corner(axis) + (face % 2 ? e.size(axis) : 0);
    return {quint32(axis), plane, e.corner(a), e.corner(b), e.size(a), e.size(b)};
}

/// The boundaries of the boxes along one axis: 0, every cut, the count.
std::vector<quint32> boundaries(const std::vector<char> &cut, quint32 count)
{
    std::vector<quint32> result{0};
    for (quint32 i = 1; i < count; ++i)
        if (cut[i])
            result.push_back(i);
    result.push_back(count);
    return result;
}

} // namespace

EnvelopeDecomposition::EnvelopeList EnvelopeDecomposition::decompose(TotalVolume &volume)
{
    const quint32 cx = volume.getCellsX(), cy = volume.getCellsY(), cz = volume.getCellsZ();
    std::vector<char> cutX(cx, 0), cutY(cy, 0), cutZ(cz, 0);
    const Voxel *cells = volume.lockCells();
    for (quint32 x = 0; x < cx; ++x) {
        for (quint32 y = 0; y < cy; ++y) {
            const quint64 column = volume.getCellIndex(x, y, 0);
            for (quint32 z = 0; z < cz; ++z) {
                const quint32 m = cells[column + z].material;
                if (x > 0 && m != cells[column + z - quint64(cy) * cz].material)
                    cutX[x] = 1;
                if (y > 0 && m != cells[column + z - cz].material)
                    cutY[y] = 1;
                if (z > 0 && m != cells[column + z - 1].material)
                    cutZ[z] = 1;
            }
        }
    }
    const std::vector<quint32> bx = boundaries(cutX, cx), by = boundaries(cutY, cy),
                               bz = boundaries(cutZ, cz);
    const size_t nx = bx.size() - 1, ny = by.size() - 1, nz = bz.size() - 1;

    // Breadth first over the boxes, each queued once: a bit per box instead of a search of
    // everything visited so far.
    EnvelopeList envelopes;
    std::vector<bool> visited(nx * ny * nz, false);
    std::deque<std::array<size_t, 3>> queue{{0, 0, 0}};
    visited[0] = true;
    while (!queue.empty()) {
        const std::array<size_t, 3> box = queue.front();
        queue.pop_front();
        const std::array<size_t, 3> next[3] = {{box[0] + 1, box[1], box[2]},
                                               {box[0], box[1] + 1, box[2]},
                                               {box[0], box[1], box[2] + 1}};
        for (const std::array<size_t, 3> &n : next) {
            if (n[0] >= nx || n[1] >= ny || n[2] >= nz)
                continue;
            const size_t bit = (n[0] * ny + n[1]) * nz + n[2];
            if (!visited[bit]) {
                visited[bit] = true;
                queue.push_back(n);
            }
        }
        const quint32 x = bx[box[0]], y = by[box[1]], z = bz[box[2]];
        const quint32 material = cells[volume.getCellIndex(x, y, z)].material;
        if (material != 0)
            envelopes << RectangularCuboidEnvelope::Ptr(new RectangularCuboidEnvelope(
                x, y, z, bx[box[0] + 1] - x, by[box[1] + 1] - y, bz[box[2] + 1] - z, material));
    }
    volume.releaseCells();
    return envelopes;
}

void EnvelopeDecomposition::link(const EnvelopeList &envelopes)
{
    // Every envelope by each of its faces, so each face finds the faces it could equal.
    std::unordered_map<FaceKey, std::vector<int>, FaceKeyHash> byFace;
    byFace.reserve(size_t(envelopes.size()) * 6);
    for (int i = 0; i < envelopes.size(); ++i)
        for (int face = 0; face < 6; ++face)
            byFace[faceKey(*envelopes[i], face)].push_back(i);

    // Face pairs in the order they are tried for a pair: the first that matches links it.
    static const int order[6][2] = {{0, 1}, {1, 0}, {2, 3}, {3, 2}, {4, 5}, {5, 4}};
    std::vector<std::tuple<int, int, int>> matches; // first, second, index into order
    for (int first = 0; first < envelopes.size(); ++first) {
        for (int k = 0; k < 6; ++k) {
            const int face = order[k][0], opposite = order[k][1];
            FaceKey key = faceKey(*envelopes[first], face);
            const auto found = byFace.find(key);
            if (found == byFace.end())
                continue;
            for (int second : found->second)
                if (second > first && faceKey(*envelopes[second], opposite) == key)
                    matches.emplace_back(first, second, k);
        }
    }
    std::sort(matches.begin(), matches.end());
    for (size_t i = 0; i < matches.size(); ++i) {
        const int first = std::get<0>(matches[i]), second = std::get<1>(matches[i]);
        if (i > 0 && std::get<0>(matches[i - 1]) == first && std::get<1>(matches[i - 1]) == second)
            continue; // this pair is linked by its first matching faces already
        const int k = std::get<2>(matches[i]);
        envelopes[first]->setNeighbour(order[k][0], envelopes[second].get());
        envelopes[second]->setNeighbour(order[k][1], envelopes[first].get());
    }
}

} // namespace ModelExtraction
} // namespace Model
