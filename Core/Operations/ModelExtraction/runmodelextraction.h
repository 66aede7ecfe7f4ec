#ifndef CELVANE_CORE_OPERATIONS_MODELEXTRACTION_RUNMODELEXTRACTION_H
#define CELVANE_CORE_OPERATIONS_MODELEXTRACTION_RUNMODELEXTRACTION_H

#include "Core/Operations/operation.h"
#include "Model/Automaton/totalvolume.h"
#include "Model/ModelExtraction/extractedmodel.h"
#include "Model/ModelExtraction/istructure.h"
#include "Util/iobserver.h"

#include <QList>
#include <QString>

namespace Core {
namespace Operations {

/// Extracts a lumped model of the cantilevers of a cell volume in three steps that the user
/// runs from a dialog: the volume cut into linked boxes of one material, the beams found and
/// merged, and their netlist written. The models are shown in the scene while the dialog is
/// open and removed when it closes; nothing goes into the history.
class RunModelExtraction : public Operation
{
public:
    typedef Model::ModelExtraction::ExtractedModel::Ptr ModelPtr;

    explicit RunModelExtraction(Workspace &workspace);

    void execute() override;
    void cancel() override;
    void end() override;

    /// Told when the dialog must open (the volume is taken) and when it must close.
    void setObserver(const Util::ObserverPtr &o) { observer = o; }
    /// True from the volume's selection until the operation ends or is cancelled.
    bool isOpen() const { return state == Open; }

    /// Step 1: the volume as linked boxes, shown in its place (the volume is hidden).
    bool runPreprocessing();
    /// Step 2: the merged beams, shown beside the volume.
    bool runFeatureDetection();
    /// Step 3's text: the netlist of the first structure found, empty without one. Says on the
    /// console when step 2 has not run, and what the netlist leaves out.
    QString prepareNetlist();
    /// Writes the netlist text to a file in the system's encoding; false with a reason.
    static bool writeNetlist(const QString &fileName, const QString &text,
                             QString *error = nullptr);

    Model::Automaton::TotalVolume::Ptr getVolume() const { return volume; }
    ModelPtr getPreprocessedModel() const { return preprocessed; }
    ModelPtr getDetectedModel() const { return detected; }
    QList<Model::ModelExtraction::IStructure::Ptr> getStructures() const { return structures; }

private:
    enum State
    {
        WaitingForVolume,
        Open,
        Done
    };

    /// The console line "Model Extraction" + text.
    void say(const QString &text);
    /// Takes a model out of the scene and forgets it.
    void removeModel(ModelPtr &model);
    /// Both models out of the scene, the volume shown again, the document's mark restored.
    void restoreScene();

    State state;
    Model::Automaton::TotalVolume::Ptr volume;
    ModelPtr preprocessed;
    ModelPtr detected;
    QList<Model::ModelExtraction::IStructure::Ptr> structures;
    bool featuresDetected;
    bool documentWasModified;
    Util::ObserverPtr observer;
};

} // namespace Operations
} // namespace Core

#endif
