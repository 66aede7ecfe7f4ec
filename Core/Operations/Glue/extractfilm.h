#ifndef CELVANE_CORE_OPERATIONS_GLUE_EXTRACTFILM_H
#define CELVANE_CORE_OPERATIONS_GLUE_EXTRACTFILM_H

#include "Core/Operations/objectoperation.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/iobserver.h"

#include <QString>

namespace Core {
namespace Operations {

/// Lifts one connected film of a cell volume into a new volume placed ten cells to the right
/// of it; the source stays as it was. Undo and redo take the new volume out and put it back.
class ExtractFilm : public ObjectOperation
{
public:
    typedef Model::Automaton::TotalVolume::Ptr VolumePtr;

    explicit ExtractFilm(Workspace &workspace);

    /// Takes the first selected cell volume (or asks for one) and opens the options dialog.
    void execute() override;
    void cancel() override;
    /// Extracts once the options are given; otherwise cancels.
    void end() override;
    bool undo() override;
    void redo() override;

    void setObserver(const Util::ObserverPtr &o) { observer = o; }
    /// The dialog's answer, taken while it is awaited.
    void setOptions(quint32 filmMaterial, bool invert);

    VolumePtr getVolume() const { return volume; }
    VolumePtr getNewVolume() const { return newVolume; }
    /// 0 waiting for the volume or the options, 1 options given, 2 done.
    quint32 getState() const { return state; }
    /// Why the film could not be extracted (empty when it was, or was not tried).
    QString getError() const { return error; }

private:
    VolumePtr volume;
    quint32 filmMaterial;
    bool invert;
    VolumePtr newVolume;
    quint32 state;
    Util::ObserverPtr observer;
    QString error;
};

} // namespace Operations
} // namespace Core

#endif
