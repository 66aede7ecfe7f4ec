#ifndef CELVANE_MODEL_PERSISTENCE_MATERIALARCHIVER_H
#define CELVANE_MODEL_PERSISTENCE_MATERIALARCHIVER_H

#include "Model/Materials/material.h"

#include <QString>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
namespace Persistence {

/// Reads and writes one Material as the XML element "Material" (catalogue and documents).
class MaterialArchiver
{
public:
    /// Reads the element the reader stands on. ok reports a non-zero id and a name; the
    /// material built from the attributes is returned either way.
    static Materials::Material loadMaterial(QXmlStreamReader *reader, bool *ok = nullptr);
    /// Writes one empty "Material" element; false without a writer or when it has an error.
    static bool saveMaterial(QXmlStreamWriter *writer, const Materials::Material &material);

    /// "#AARRGGBB", each channel the component times 255 truncated, upper-case hex.
    static QString colorToText(const float *rgba);
    /// Six significant digits, fixed or exponent notation, whichever is shorter.
    static QString numberToText(float value);
};

} // namespace Persistence
} // namespace Model

#endif
