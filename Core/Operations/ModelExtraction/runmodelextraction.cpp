#include "Core/Operations/ModelExtraction/runmodelextraction.h"

#include "Core/Operations/volumepicker.h"
#include "Core/Operations/workspace.h"
#include "Model/ModelExtraction/cantilevermodelrule.h"
#include "Model/ModelExtraction/envelopedecomposition.h"
#include "Util/safesave.h"

#include <QSaveFile>
#include <QTextStream>

namespace Core {
namespace Operations {

using Model::ModelExtraction::ExtractedModel;

RunModelExtraction::RunModelExtraction(Workspace &workspace)
    : Operation(workspace, "Extract Model", 1000), state(WaitingForVolume), featuresDetected(false),
      documentWasModified(false)
{}

void RunModelExtraction::say(const QString &text)
{
    workspace.getConsoleInput().writeMessage(("Model Extraction" + text).toStdString());
}

void RunModelExtraction::execute()
{
    if (state != WaitingForVolume)
        return;
    volume = VolumePicker::takeFirst(
        workspace, this, ": Select a cell volume and press Enter/Return.", "Model Extraction");
    if (!volume)
        return;
    say(QStringLiteral(": Cell volume selected."));
    state = Open;
    documentWasModified = workspace.getDocument().isModified();
    workspace.notifyUpdate();
    if (observer)
        observer->update();
}

void RunModelExtraction::removeModel(ModelPtr &model)
{
    if (model)
        workspace.getDocument().removeObject(model);
    model.reset();
}

void RunModelExtraction::restoreScene()
{
    removeModel(preprocessed);
    removeModel(detected);
    if (volume)
        volume->getPainter().setSuspended(false);
    // The models were only shown: the document is as changed as it was before.
    workspace.getDocument().setModified(documentWasModified);
    workspace.notifyUpdate();
}

bool RunModelExtraction::runPreprocessing()
{
    if (state != Open)
        return false;
    // Run again, it starts over: the beams found from the former boxes go too.
    removeModel(detected);
    removeModel(preprocessed);
    structures.clear();
    featuresDetected = false;
    volume->getPainter().setSuspended(true);
    Model::ModelExtraction::EnvelopeDecomposition::EnvelopeList envelopes;
    try {
        envelopes = Model::ModelExtraction::EnvelopeDecomposition::decompose(*volume);
        Model::ModelExtraction::EnvelopeDecomposition::link(envelopes);
    } catch (const std::bad_alloc &) {
        volume->getPainter().setSuspended(false);
        say(QStringLiteral(": Not enough memory to cut the cell volume into boxes."));
        workspace.notifyUpdate();
        return false;
    }
    preprocessed.reset(new ExtractedModel(envelopes));
    preprocessed->translate(volume->getPosition());
    workspace.getDocument().addObject(preprocessed);
    say(QStringLiteral(": %1 boxes of one material.").arg(envelopes.size()));
    workspace.notifyUpdate();
    return true;
}

bool RunModelExtraction::runFeatureDetection()
{
    if (state != Open)
        return false;
    if (!preprocessed) {
        say(QStringLiteral(": Run step 1 (Preprocessing) first."));
        return false;
    }
    removeModel(detected);
    Model::ModelExtraction::CantileverModelRule rule;
    structures = rule.apply(*preprocessed);
    featuresDetected = true;
    detected.reset(new ExtractedModel(rule.getBeams()));
    detected->translate(
        volume->getPosition() +
        Util::Vector3D(volume->getCellSizeX() * (volume->getCellsX() + 10.0), 0, 0));
    workspace.getDocument().addObject(detected);
    say(QStringLiteral(": %1 cantilever beam(s) found.").arg(rule.getBeamCount()));
    workspace.notifyUpdate();
    return true;
}

QString RunModelExtraction::prepareNetlist()
{
    if (state != Open)
        return QString();
    if (!featuresDetected) {
        say(QStringLiteral(": Run step 2 (Feature Detection) first."));
        return QString();
    }
    if (structures.isEmpty())
        return QString();
    for (const QString &problem : structures.first()->getProblems())
        say(QStringLiteral(": ") + problem);
    return structures.first()->getNetlist();
}

bool RunModelExtraction::writeNetlist(const QString &fileName, const QString &text, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QTextStream stream(&file);
    stream << text;
    stream.flush();
    return Util::SafeSave::commit(file, stream.status() == QTextStream::Ok, error);
}

void RunModelExtraction::end()
{
    if (state == Done)
        return;
    if (state == WaitingForVolume) {
        cancel();
        return;
    }
    state = Done;
    restoreScene();
    if (observer)
        observer->update(); // the dialog closes if it is still open
    say(QStringLiteral(": Model extracted."));
    workspace.getConsoleInput().resetRequest();
    finish();
}

void RunModelExtraction::cancel()
{
    if (state == Done)
        return;
    const bool wasOpen = state == Open;
    state = Done;
    if (wasOpen) {
        restoreScene();
        if (observer)
            observer->update();
    }
    workspace.getConsoleInput().resetRequest();
    say(QStringLiteral(": Operation canceled."));
    clearIfCurrent();
}

} // namespace Operations
} // namespace Core
