#ifndef CELVANE_MODEL_MODELEXTRACTION_IMODELRULE_H
#define CELVANE_MODEL_MODELEXTRACTION_IMODELRULE_H

#include "Model/ModelExtraction/extractedmodel.h"
#include "Model/ModelExtraction/istructure.h"

#include <QList>

namespace Model {
namespace ModelExtraction {

/// Recognises one kind of structure among the envelopes of an extracted model.
class IModelRule
{
public:
    virtual ~IModelRule() = default;
    virtual QList<IStructure::Ptr> apply(const ExtractedModel &model) = 0;
};

} // namespace ModelExtraction
} // namespace Model

#endif
