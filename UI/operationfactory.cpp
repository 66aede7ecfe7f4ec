#include "UI/operationfactory.h"

#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"
#include "Core/Operations/Doping/dopingoperation.h"
#include "Core/Operations/Doping/ionimplantationoperation.h"
#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"
#include "Core/Operations/Glue/extractfilm.h"
#include "Core/Operations/Glue/gluesubstrateoperation.h"
#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Core/Operations/Isotropic/isotropicfilmetchingoperation.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhooddepositionoperation.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetchingoperation.h"
#include "Core/Operations/Photolithography/photolithographyoperation.h"
#include "Core/Operations/Planarization/planarizationoperation.h"
#include "Core/Operations/Planarization/spincoatingoperation.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetchingoperation.h"
#include "Core/Operations/SiEtching/atomisticsiwetetchingoperation.h"
#include "Core/Operations/SiEtching/continouswetetchoperation.h"
#include "Core/Operations/SiOxidation/simplesioxidationoperation.h"
#include "Core/Operations/changetotalvolumevisualizationoptions.h"
#include "Core/Operations/copyobject.h"
#include "Core/Operations/createsubstrateoperation.h"
#include "Core/Operations/cutcellvolumeoperation.h"
#include "Core/Operations/deleteobject.h"
#include "Core/Operations/moveobject.h"
#include "Core/Operations/opendocumentoperation.h"
#include "Core/Operations/savedocumentasoperation.h"
#include "Core/Operations/selectvolumesoperation.h"
#include "Core/Operations/workspace.h"
#include "UI/Observers/atomicsibcaetchobserver.h"
#include "UI/Observers/batchrunobserver.h"
#include "UI/Observers/ccawetetchingobserver.h"
#include "UI/Observers/changetotalvolumeviewoptionsobserver.h"
#include "UI/Observers/createsubstrateobserver.h"
#include "UI/Observers/cutcellvolumeobserver.h"
#include "UI/Observers/cvdobserver.h"
#include "UI/Observers/documentopenedobserver.h"
#include "UI/Observers/documentsavedobserver.h"
#include "UI/Observers/dopingoptionsobserver.h"
#include "UI/Observers/electrodepositionobserver.h"
#include "UI/Observers/extractfilmobserver.h"
#include "UI/Observers/gluesubstrateobserver.h"
#include "UI/Observers/ionimplantationoptionsobserver.h"
#include "UI/Observers/isotropicfilmdepositionobserver.h"
#include "UI/Observers/isotropicfilmetchingobserver.h"
#include "UI/Observers/mooredepositionobserver.h"
#include "UI/Observers/mooreetchingobserver.h"
#include "UI/Observers/photolithographyobserver.h"
#include "UI/Observers/planarizationobserver.h"
#include "UI/Observers/runmodelextractionobserver.h"
#include "UI/Observers/simplerieobserver.h"
#include "UI/Observers/sioxidationobserver.h"
#include "UI/Observers/spincoatingobserver.h"
#include "UI/mainwindow.h"
#include "UI/mainwindowpresenter.h"

namespace Ui {

using namespace Core::Operations;

namespace {

/// An operation with its own observer, which opens its dialog over the main window.
template <class Op, class Observer>
boost::shared_ptr<Operation> withObserver(Workspace &workspace, QWidget *window)
{
    boost::shared_ptr<Op> op(new Op(workspace));
    op->setObserver(Util::ObserverPtr(new Observer(workspace, window)));
    return op;
}

} // namespace

OperationFactory::OperationFactory(MainWindowPresenter *presenter) : presenter(presenter) {}

boost::shared_ptr<Operation> OperationFactory::createOperation(quint32 id)
{
    typedef boost::shared_ptr<Operation> OperationPtr;
    if (id > 1000 || (id != 1000 && (id < 1 || id > 30)))
        return OperationPtr();

    Workspace &workspace = presenter->getWorkspace();
    MainWindow *window = presenter->getMainWindow();
    switch (id) {
    case 1:
        return OperationPtr(new CopyObject(workspace));
    case 2: {
        boost::shared_ptr<CreateSubstrateOperation> op(new CreateSubstrateOperation(workspace));
        op->setObserver(
            Util::ObserverPtr(new Observers::CreateSubstrateObserver(workspace, window)));
        return op;
    }
    case 3:
        IonImplantationOperation::setClassObserver(
            Util::ObserverPtr(new Observers::IonImplantationOptionsObserver(workspace, window)));
        return OperationPtr(new IonImplantationOperation(workspace));
    case 4:
        return OperationPtr(new DeleteObject(workspace));
    case 6: {
        // One observer for the whole class, pointed at the window that starts the operation.
        OperationPtr op(new ChangeTotalVolumeVisualizationOptions(workspace));
        ChangeTotalVolumeVisualizationOptions::setObserver(Util::ObserverPtr(
            new Observers::ChangeTotalVolumeViewOptionsObserver(workspace, window)));
        return op;
    }
    case 7:
        return OperationPtr(new MoveObject(workspace));
    case 8:
        return withObserver<ExtractFilm, Observers::ExtractFilmObserver>(workspace, window);
    case 9: {
        boost::shared_ptr<SaveDocumentOperation> op(new SaveDocumentOperation(workspace));
        op->setObserver(Util::ObserverPtr(new Observers::DocumentSavedObserver(window)));
        return op;
    }
    case 10: {
        boost::shared_ptr<SaveDocumentAsOperation> op(new SaveDocumentAsOperation(workspace));
        op->setObserver(Util::ObserverPtr(new Observers::DocumentSavedObserver(window)));
        return op;
    }
    case 11:
        OpenDocumentOperation::setObserver(
            Util::ObserverPtr(new Observers::DocumentOpenedObserver()));
        return OperationPtr(new OpenDocumentOperation(workspace));
    case 12:
        return withObserver<GlueSubstrateOperation, Observers::GlueSubstrateObserver>(workspace,
                                                                                      window);
    case 13:
        return withObserver<IsotropicFilmDepositionOperation,
                            Observers::IsotropicFilmDepositionObserver>(workspace, window);
    case 14:
        return withObserver<IsotropicFilmEtchingOperation, Observers::IsotropicFilmEtchingObserver>(
            workspace, window);
    case 15:
        return withObserver<ElectrodepositionOperation, Observers::ElectrodepositionObserver>(
            workspace, window);
    case 16:
        return withObserver<CutCellVolumeOperation, Observers::CutCellVolumeObserver>(workspace,
                                                                                      window);
    case 17:
        return withObserver<DopingOperation, Observers::DopingOptionsObserver>(workspace, window);
    case 18:
        return withObserver<MooreNeighborhoodDepositionOperation,
                            Observers::MooreDepositionObserver>(workspace, window);
    case 19:
        return withObserver<MooreNeighborhoodEtchingOperation, Observers::MooreEtchingObserver>(
            workspace, window);
    case 20:
        PhotolithographyOperation::setClassObserver(
            Util::ObserverPtr(new Observers::PhotolithographyObserver(workspace, window)));
        return OperationPtr(new PhotolithographyOperation(workspace));
    case 22:
        PlanarizationOperation::setClassObserver(
            Util::ObserverPtr(new Observers::PlanarizationObserver(workspace, window)));
        return OperationPtr(new PlanarizationOperation(workspace));
    case 23:
        SpinCoatingOperation::setClassObserver(
            Util::ObserverPtr(new Observers::SpinCoatingObserver(workspace, window)));
        return OperationPtr(new SpinCoatingOperation(workspace));
    case 24:
        return withObserver<SelectVolumesOperation, Observers::BatchRunObserver>(workspace, window);
    case 26:
        SimpleSiOxidationOperation::setClassObserver(
            Util::ObserverPtr(new Observers::SiOxidationObserver(workspace, window)));
        return OperationPtr(new SimpleSiOxidationOperation(workspace));
    case 27:
        return withObserver<AnisotropicFilmDepositionOperation, Observers::CVDObserver>(workspace,
                                                                                        window);
    case 28:
        return withObserver<AtomisticSiWetEtchingOperation, Observers::AtomicSiBCAEtchObserver>(
            workspace, window);
    case 29:
        return withObserver<ContinousWetEtchOperation, Observers::CCAWetEtchingObserver>(workspace,
                                                                                         window);
    case 30:
        return withObserver<SimpleReactiveIonEtchingOperation, Observers::SimpleRIEObserver>(
            workspace, window);
    case 1000: {
        boost::shared_ptr<RunModelExtraction> op(new RunModelExtraction(workspace));
        op->setObserver(Util::ObserverPtr(new Observers::RunModelExtractionObserver(op, window)));
        return op;
    }
    default:
        return OperationPtr();
    }
}

} // namespace Ui
