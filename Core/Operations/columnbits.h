#ifndef CELVANE_CORE_OPERATIONS_COLUMNBITS_H
#define CELVANE_CORE_OPERATIONS_COLUMNBITS_H

#include <QtGlobal>

#include <cstddef>

namespace Core {
namespace Operations {

/// Bit sets of a layer of cell columns: one bit per cell, each column of a layer on
/// columnWords 64-bit words, the columns in y order. Shared by the fronts that spread by
/// whole words rather than cell by cell.
struct ColumnBits
{
    /// plane = rows spread by one column in y: each column ORed with its two neighbours in
    /// the layer (those inside it).
    static void spreadAcrossY(const quint64 *rows, quint64 *plane, std::size_t layerWords,
                              quint32 columnWords)
    {
        const std::size_t W = columnWords;
        for (std::size_t c = 0; c < layerWords; c += W)
            for (std::size_t w = 0; w < W; ++w) {
                quint64 d = rows[c + w];
                if (c > 0)
                    d |= rows[c - W + w];
                if (c + W < layerWords)
                    d |= rows[c + W + w];
                plane[c + w] = d;
            }
    }
};

} // namespace Operations
} // namespace Core

#endif
