#include "Model/Geometry/quadfacelist.h"

#include <limits>

namespace Model {
namespace Geometry {

bool QuadFaceList::allocate(std::size_t n)
{
    clear();
    if (n == 0)
        return true;
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(QuadFace))
        return false;
    // QuadFace is trivial: raw storage is a valid array once the builders have written it.
    faces.reset(static_cast<QuadFace *>(Util::LargeMemory::allocate(n * sizeof(QuadFace))));
    if (!faces)
        return false;
    count = n;
    return true;
}

void QuadFaceList::clear()
{
    faces.reset();
    count = 0;
}

} // namespace Geometry
} // namespace Model
