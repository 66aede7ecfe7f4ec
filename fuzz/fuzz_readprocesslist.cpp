// Fuzz target for the process-list reader and the steps it yields: any bytes must give a list
// or a refusal, and every step of a list must run or be skipped with a reason on a small
// volume, never crash, hang or allocate beyond the memory the target allows.
#include "Core/Operations/BatchRun/batchrun.h"
#include "Model/Materials/materialfactory.h"
#include "UI/BatchRun/processlistarchiver.h"
#include "Util/systemmemory.h"

#include <QBuffer>
#include <QByteArray>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
bool initialized = false;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    initialized = true;
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    // A Create Substrate step may ask for any size: keep what it can allocate small.
    Util::SystemMemory::setAvailableBytesOverride(quint64(16) << 20);
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!initialized)
        LLVMFuzzerInitialize(nullptr, nullptr);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QList<Ui::ProcessData> list;
    Ui::ProcessListArchiver archiver;
    if (!archiver.loadProcessList(buffer, list))
        return 0;
    QList<Core::Operations::BatchRun::Step> steps;
    for (const Ui::ProcessData &step : list)
        steps.append({step.getProcessType(), step.getParameters()});
    Core::Operations::StepContext context;
    context.volume =
        Model::Automaton::TotalVolume::createFilled(6, 5, 8, 1, 1, 1, Util::Vector3D(), 1);
    Core::Operations::BatchRun batch(context);
    batch.run(steps);
    return 0;
}
