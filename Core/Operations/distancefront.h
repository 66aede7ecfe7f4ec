#ifndef CELVANE_CORE_OPERATIONS_DISTANCEFRONT_H
#define CELVANE_CORE_OPERATIONS_DISTANCEFRONT_H

#include "Core/Operations/cellneighborhood.h"
#include "Model/Automaton/voxel.h"

#include <QtGlobal>

#if defined(__SSE2__)
#include <cstddef>
#include <emmintrin.h>

// relaxInterior loads a distance as four floats: the fourth must still lie inside the voxel.
static_assert(offsetof(Model::Automaton::Voxel, tag) ==
                  offsetof(Model::Automaton::Voxel, distance) + 3 * sizeof(float),
              "a voxel's distance is followed by its tag");
#endif

namespace Core {
namespace Operations {

/// The distance-front method shared by the film workers: every cell carries in its voxel the
/// vector to its nearest source cell, and a pass lets each front cell take a face neighbour's
/// vector plus the step to that neighbour when that is shorter and within the limit.
class DistanceFront
{
public:
    /// Steps of the face table in world units, (dx * sizeX, dy * sizeY, dz * sizeZ).
    DistanceFront(float stepX, float stepY, float stepZ);

    /// Passes needed for a film of the given thickness: trunc(ceil(thickness / m) * (1 + 1/sqrt 2))
    /// with m the smallest cell size (quotient and ceil in single precision, the product in
    /// double). 0 for a thickness that is not above 0.
    static quint64 passCount(float thickness, float cellSizeX, float cellSizeY, float cellSizeZ);
    /// True when the cell sizes are usable by the method (finite and above 0).
    static bool validCellSizes(float cellSizeX, float cellSizeY, float cellSizeZ);

    const float *getStep(int k) const { return steps[k]; }

    /// The shortest candidate for cell i at (x, y, z): a face neighbour's distance plus the step
    /// to it, strictly shorter than the cell's own distance and at most sqrt(limitSquared) long,
    /// the first of equal candidates in table order winning. Squared lengths only. Returns false
    /// when no candidate qualifies.
    bool relax(const Model::Automaton::Voxel *cells, const CellNeighborhood &neighborhood,
               CellNeighborhood::CellIndex i, quint32 x, quint32 y, quint32 z, float limitSquared,
               float candidate[3]) const
    {
        const float *own = cells[i].distance;
        float best = own[0] * own[0] + own[1] * own[1] + own[2] * own[2];
        bool found = false;
        const bool interior = neighborhood.isInterior(x, y, z);
        for (int k = 0; k < CellNeighborhood::FaceCount; ++k) {
            if (!interior && !neighborhood.contains(x, y, z, CellNeighborhood::faceOffsets[k]))
                continue;
            const float *d = cells[qint64(i) + neighborhood.getFaceDelta(k)].distance;
            const float cx = d[0] + steps[k][0];
            const float cy = d[1] + steps[k][1];
            const float cz = d[2] + steps[k][2];
            const float length = cx * cx + cy * cy + cz * cz;
            if (length < best && length <= limitSquared) {
                best = length;
                candidate[0] = cx;
                candidate[1] = cy;
                candidate[2] = cz;
                found = true;
            }
        }
        return found;
    }

    /// relax for a cell all of whose face neighbours lie in the volume, delta being the index
    /// differences of the face table (CellNeighborhood::getFaceDeltas): the same candidates in
    /// the same order and arithmetic, without bounds tests or a loop.
    bool relaxInterior(const Model::Automaton::Voxel *cells, CellNeighborhood::CellIndex i,
                       const qint64 *delta, float limitSquared, float candidate[3]) const
    {
        const float *own = cells[i].distance;
        float best = own[0] * own[0] + own[1] * own[1] + own[2] * own[2];
        bool found = false;
#if defined(__SSE2__)
        // One vector per candidate; the lengths add up in the scalar order, (x² + y²) + z², so
        // every bit is as in relax. The fourth lane (the tag behind the distance) is cleared.
        const __m128 vector = _mm_castsi128_ps(_mm_set_epi32(0, -1, -1, -1));
        __m128 chosen = _mm_setzero_ps();
        const auto consider = [&](int k) {
            const __m128 d = _mm_and_ps(_mm_loadu_ps(cells[qint64(i) + delta[k]].distance), vector);
            const __m128 c = _mm_add_ps(d, _mm_loadu_ps(stepVectors[k]));
            const __m128 squares = _mm_mul_ps(c, c);
            const float length =
                _mm_cvtss_f32(_mm_add_ss(_mm_add_ss(squares, _mm_shuffle_ps(squares, squares, 1)),
                                         _mm_movehl_ps(squares, squares)));
            if (length < best && length <= limitSquared) {
                best = length;
                chosen = c;
                found = true;
            }
        };
#else
        float chosen[3] = {0.0f, 0.0f, 0.0f};
        const auto consider = [&](int k) {
            const float *d = cells[qint64(i) + delta[k]].distance;
            const float cx = d[0] + steps[k][0];
            const float cy = d[1] + steps[k][1];
            const float cz = d[2] + steps[k][2];
            const float length = cx * cx + cy * cy + cz * cz;
            if (length < best && length <= limitSquared) {
                best = length;
                chosen[0] = cx;
                chosen[1] = cy;
                chosen[2] = cz;
                found = true;
            }
        };
#endif
        consider(0);
        consider(1);
        consider(2);
        consider(3);
        consider(4);
        consider(5);
        if (found) {
#if defined(__SSE2__)
            float lanes[4];
            _mm_storeu_ps(lanes, chosen);
#else
            const float *lanes = chosen;
#endif
            candidate[0] = lanes[0];
            candidate[1] = lanes[1];
            candidate[2] = lanes[2];
        }
        return found;
    }

private:
    float steps[CellNeighborhood::FaceCount][3];
    /// The steps with a zero fourth component, for loading as vectors.
    float stepVectors[CellNeighborhood::FaceCount][4];
};

} // namespace Operations
} // namespace Core

#endif
