#ifndef CELVANE_UTIL_VECTOR3DMETATYPE_H
#define CELVANE_UTIL_VECTOR3DMETATYPE_H

#include "Util/vector3d.h"

#include <QMetaType>

// Vectors travel in QVariants (process-list parameters, test data).
Q_DECLARE_METATYPE(Util::Vector3D)

#endif
