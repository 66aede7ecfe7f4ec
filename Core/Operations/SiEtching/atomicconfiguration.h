#ifndef CELVANE_CORE_OPERATIONS_SIETCHING_ATOMICCONFIGURATION_H
#define CELVANE_CORE_OPERATIONS_SIETCHING_ATOMICCONFIGURATION_H

namespace Core {
namespace Operations {

/// The local configuration of a surface silicon atom in the continuous wet etch: the number of
/// surface and bulk atoms among its first neighbours (ns1, nb1) and among its second neighbours
/// (ns2, nb2). Each listed configuration has its own etch rate; any other quadruple is
/// UnexpectedConfiguration.
enum AtomicConfiguration
{
    Configuration0 = 0,
    Configuration1,
    Configuration2,
    Configuration3,
    Configuration4,
    Configuration5,
    Configuration6,
    Configuration7,
    Configuration8,
    Configuration9,
    Configuration10,
    Configuration11,
    Configuration12,
    Configuration13,
    Configuration14,
    Configuration15,
    Configuration16,
    Configuration17,
    Configuration18,
    Configuration19,
    Configuration20,
    Configuration21,
    Configuration22,
    Configuration23,
    Configuration24,
    Configuration25,
    Configuration26,
    Configuration27,
    Configuration28,
    Configuration29,
    Configuration30,
    Configuration31,
    Configuration32,
    UnexpectedConfiguration,
    /// Number of listed configurations (UnexpectedConfiguration is not one).
    ListedConfigurationCount = UnexpectedConfiguration
};

/// One listed configuration: its neighbour counts and its etch rate (fraction of an atom per
/// unit time).
struct AtomicConfigurationRow
{
    int ns1;
    int nb1;
    int ns2;
    int nb2;
    double rate;
};

/// The row of a listed configuration (0 to 32).
const AtomicConfigurationRow &atomicConfigurationRow(AtomicConfiguration configuration);

/// The configuration of a quadruple, by table lookup (no search, no allocation, no logging);
/// UnexpectedConfiguration for any quadruple not listed, negative counts included.
AtomicConfiguration findAtomicConfiguration(int ns1, int nb1, int ns2, int nb2);

} // namespace Operations
} // namespace Core

#endif
