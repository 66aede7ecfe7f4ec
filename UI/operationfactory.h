#ifndef CELVANE_UI_OPERATIONFACTORY_H
#define CELVANE_UI_OPERATIONFACTORY_H

#include "Core/Operations/ioperationfactory.h"

namespace Ui {

class MainWindowPresenter;

/// Builds the operation of an id together with the observer that opens its dialog.
class OperationFactory : public Core::Operations::IOperationFactory
{
public:
    explicit OperationFactory(MainWindowPresenter *presenter);

    /// Empty for ids without entry (5, 21, 25, above 30 but 1000) and for operations that
    /// are not available in this build.
    boost::shared_ptr<Core::Operations::Operation> createOperation(quint32 id) override;

private:
    MainWindowPresenter *presenter;
};

} // namespace Ui

#endif
