#include "Core/Operations/SiEtching/atomicconfiguration.h"

#include <array>

namespace Core {
namespace Operations {

namespace {

/// KOH-like chemistry: atoms held by three bulk neighbours ({111} faces) etch hundreds of
/// times slower than the others.
const AtomicConfigurationRow rows[ListedConfigurationCount] = {
    {0, 3, 4, 7, 0.00867}, {0, 3, 6, 5, 0.00867}, {0, 3, 3, 7, 0.00867}, {0, 3, 5, 5, 0.00867},
    {0, 3, 2, 7, 0.00867}, {0, 3, 4, 5, 0.00867}, {0, 3, 6, 3, 0.00867}, {1, 2, 3, 6, 4.115},
    {1, 2, 2, 6, 4.208},   {1, 2, 3, 5, 6.449},   {1, 2, 2, 5, 3.932},   {1, 2, 4, 3, 6.449},
    {2, 1, 4, 5, 5.223},   {2, 1, 1, 6, 4.115},   {2, 1, 2, 5, 4.115},   {2, 1, 4, 3, 5.223},
    {2, 1, 0, 6, 4.847},   {2, 1, 1, 5, 4.847},   {0, 2, 5, 5, 3.188},   {0, 2, 2, 6, 3.188},
    {0, 2, 3, 5, 3.188},   {0, 2, 4, 4, 3.188},   {0, 2, 3, 4, 7.0},     {0, 2, 5, 2, 7.0},
    {1, 1, 4, 5, 6.5},     {1, 1, 2, 5, 6.5},     {1, 1, 3, 4, 5.49},    {1, 1, 2, 4, 5.0},
    {1, 1, 3, 3, 5.0},     {0, 1, 6, 3, 6.0},     {0, 1, 4, 3, 6.0},     {0, 1, 5, 2, 6.0},
    {0, 1, 6, 1, 4.115}};

// Four first neighbours and, counted through them, at most twelve second neighbours.
const int firstLimit = 5;
const int secondLimit = 13;

typedef std::array<unsigned char, firstLimit * firstLimit * secondLimit * secondLimit> Index;

Index buildIndex()
{
    Index index;
    index.fill(UnexpectedConfiguration);
    for (int c = 0; c < ListedConfigurationCount; ++c) {
        const AtomicConfigurationRow &r = rows[c];
        index[std::size_t(((r.ns1 * firstLimit + r.nb1) * secondLimit + r.ns2) * secondLimit +
                          r.nb2)] = static_cast<unsigned char>(c);
    }
    return index;
}

const Index lookup = buildIndex();

} // namespace

const AtomicConfigurationRow &atomicConfigurationRow(AtomicConfiguration configuration)
{
    return rows[configuration];
}

AtomicConfiguration findAtomicConfiguration(int ns1, int nb1, int ns2, int nb2)
{
    if (ns1 < 0 || nb1 < 0 || ns2 < 0 || nb2 < 0 || ns1 >= firstLimit || nb1 >= firstLimit ||
        ns2 >= secondLimit || nb2 >= secondLimit)
        return UnexpectedConfiguration;
    return AtomicConfiguration(
        lookup[std::size_t(((ns1 * firstLimit + nb1) * secondLimit + ns2) * secondLimit + nb2)]);
}

} // namespace Operations
} // namespace Core
