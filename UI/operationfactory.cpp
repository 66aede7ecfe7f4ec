#include "UI/operationfactory.h"

#include "Core/Operations/changetotalvolumevisualizationoptions.h"
#include "Core/Operations/copyobject.h"
#include "Core/Operations/createsubstrateoperation.h"
#include "Core/Operations/deleteobject.h"
#include "Core/Operations/moveobject.h"
#include "Core/Operations/workspace.h"
#include "UI/Observers/changetotalvolumeviewoptionsobserver.h"
#include "UI/Observers/createsubstrateobserver.h"
#include "UI/mainwindow.h"
#include "UI/mainwindowpresenter.h"

namespace Ui {

using namespace Core::Operations;

OperationFactory::OperationFactory(MainWindowPresenter *presenter) : presenter(presenter) {}

boost::shared_ptr<Operation> OperationFactory::createOperation(quint32 id)
{
    typedef boost::shared_ptr<Operation> OperationPtr;
    if (id > 1000 || (id != 1000 && (id < 1 || id > 30)))
        return OperationPtr();

    Workspace &workspace = presenter->getWorkspace();
    QWidget *window = presenter->getMainWindow();
    switch (id) {
    case 1:
        return OperationPtr(new CopyObject(workspace));
    case 2: {
        boost::shared_ptr<CreateSubstrateOperation> op(new CreateSubstrateOperation(workspace));
        op->setObserver(
            Util::ObserverPtr(new Observers::CreateSubstrateObserver(workspace, window)));
        return op;
    }
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
    default:
        return OperationPtr();
    }
}

} // namespace Ui
