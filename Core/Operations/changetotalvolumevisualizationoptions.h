#ifndef CELVANE_CORE_OPERATIONS_CHANGETOTALVOLUMEVISUALIZATIONOPTIONS_H
#define CELVANE_CORE_OPERATIONS_CHANGETOTALVOLUMEVISUALIZATIONOPTIONS_H

#include "Core/Operations/operation.h"
#include "Model/Automaton/totalvolume.h"
#include "Util/iobserver.h"

namespace Core {
namespace Operations {

/// Changes how one cell volume is drawn: atomic view options, outlines of empty cells and the
/// surface algorithm. Takes the last selected cell volume, lets its observer show the options
/// dialog, then applies the answer and rebuilds the volume's faces.
class ChangeTotalVolumeVisualizationOptions : public Operation
{
public:
    /// The painter settings the dialog edits, in the order they are applied.
    struct Options
    {
        bool renderSiAtoms = false;
        bool renderSurfaceAtomsOnly = false;
        bool renderSiAtomLinks = false;
        bool renderSiUnitCells = false;
        bool renderSiUnitCellOutlines = false;
        bool renderEmptyVoxelOutlines = false;
        quint32 surfaceAlgorithm = 0;

        /// The present settings of a painter.
        static Options of(const Model::Automaton::TotalVolumePainter &painter);
        /// Writes the settings into a painter in the order listed (no refresh).
        void applyTo(Model::Automaton::TotalVolumePainter &painter) const;
    };

    explicit ChangeTotalVolumeVisualizationOptions(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;

    /// The dialog's answer; taken only while the dialog is awaited (step 1).
    void setOptions(const Options &options);

    Model::Automaton::TotalVolume::Ptr getVolume() const { return volume; }
    quint32 getStep() const { return step; }

    /// The one observer of every instance: it opens the options dialog.
    static void setObserver(const Util::ObserverPtr &observer);
    static Util::ObserverPtr getObserver();

private:
    Model::Automaton::TotalVolume::Ptr volume;
    Options options;
    quint32 step;
};

} // namespace Operations
} // namespace Core

#endif
