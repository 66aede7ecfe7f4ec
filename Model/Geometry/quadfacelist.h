#ifndef CELVANE_MODEL_GEOMETRY_QUADFACELIST_H
#define CELVANE_MODEL_GEOMETRY_QUADFACELIST_H

#include "Model/Geometry/quadface.h"
#include "Util/largememory.h"

#include <cstddef>
#include <memory>

namespace Model {
namespace Geometry {

/// A fixed-size array of faces. Builders count their faces first and then fill the array in
/// place from several threads, so it is allocated once at its exact size, left uninitialised
/// (no single-threaded zeroing pass over hundreds of megabytes) and never grows.
class QuadFaceList
{
public:
    QuadFaceList() = default;
    QuadFaceList(QuadFaceList &&) = default;
    QuadFaceList &operator=(QuadFaceList &&) = default;
    QuadFaceList(const QuadFaceList &) = delete;
    QuadFaceList &operator=(const QuadFaceList &) = delete;

    /// Discards the faces and makes room for count uninitialised ones. False, and an empty
    /// list, when the memory cannot be had.
    bool allocate(std::size_t count);
    /// Discards the faces and frees their memory.
    void clear();

    std::size_t size() const { return count; }
    bool isEmpty() const { return count == 0; }
    /// Bytes that count faces take.
    static std::size_t bytesFor(std::size_t count) { return count * sizeof(QuadFace); }

    QuadFace *data() { return faces.get(); }
    const QuadFace *data() const { return faces.get(); }
    QuadFace &operator[](std::size_t i) { return faces[i]; }
    const QuadFace &operator[](std::size_t i) const { return faces[i]; }
    QuadFace *begin() { return faces.get(); }
    QuadFace *end() { return faces.get() + count; }
    const QuadFace *begin() const { return faces.get(); }
    const QuadFace *end() const { return faces.get() + count; }

private:
    std::unique_ptr<QuadFace[], Util::LargeMemory::Deleter> faces;
    std::size_t count = 0;
};

} // namespace Geometry
} // namespace Model

#endif
