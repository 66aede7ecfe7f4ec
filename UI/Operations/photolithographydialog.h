#ifndef CELVANE_UI_OPERATIONS_PHOTOLITHOGRAPHYDIALOG_H
#define CELVANE_UI_OPERATIONS_PHOTOLITHOGRAPHYDIALOG_H

#include "Core/Operations/Photolithography/layoutfile.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QWidget;

namespace Ui {
class PhotolithographyDialogForm;
}

namespace Ui {
namespace Operations {

/// Top and bottom masks and the film of a photolithography step. A mask is an image or a GDSII
/// layout (one cell and layer, scaled and shifted onto the volume's columns). Applied masks are
/// handed on at once (to the operation, which shows them on the volume).
class PhotolithographyDialog : public QDialog
{
    Q_OBJECT

public:
    /// Receives a mask as it is applied or removed: bits, width, height.
    typedef std::function<void(const std::vector<bool> &, quint32, quint32)> MaskSink;

    explicit PhotolithographyDialog(QWidget *parent = nullptr);
    ~PhotolithographyDialog() override;

    Ui::PhotolithographyDialogForm *form() const { return ui; }
    void setTopMaskSink(const MaskSink &sink) { sides[Top].sink = sink; }
    void setBottomMaskSink(const MaskSink &sink) { sides[Bottom].sink = sink; }
    /// Columns of the volume the masks are for (cellsX * cellsY): bounds the size of a mask.
    void setVolumeFootprint(quint64 columns) { footprint = columns; }
    /// The volume's columns, onto which layout masks are rasterised. Without them (a batch step
    /// composed before its volume exists) a layout mask is only checked and kept as a choice.
    void setVolumeGrid(quint32 cellsX, quint32 cellsY);

    quint32 getMaterialId() const;
    /// Chooses the film; an id the catalogue does not hold leaves the choice as it is.
    void setMaterialId(quint32 id);
    const std::vector<bool> &getTopMask() const { return sides[Top].bits; }
    quint32 getTopMaskWidth() const { return sides[Top].width; }
    quint32 getTopMaskHeight() const { return sides[Top].height; }
    const std::vector<bool> &getBottomMask() const { return sides[Bottom].bits; }
    quint32 getBottomMaskWidth() const { return sides[Bottom].width; }
    quint32 getBottomMaskHeight() const { return sides[Bottom].height; }
    /// The image files the masks were read from; empty when no image mask is applied.
    QString getTopMaskFile() const { return imageFile(sides[Top]); }
    QString getBottomMaskFile() const { return imageFile(sides[Bottom]); }
    /// Whether the applied mask is a layout, and which.
    bool hasTopLayout() const { return sides[Top].hasLayout; }
    bool hasBottomLayout() const { return sides[Bottom].hasLayout; }
    Core::Operations::LayoutFile::Choice getTopLayout() const { return sides[Top].layout; }
    Core::Operations::LayoutFile::Choice getBottomLayout() const { return sides[Bottom].layout; }

    /// Bit (x, y) = x * height + y; the image's bottom row is y = 0; pure black and pure red
    /// pixels are opaque (1), every other colour is clear.
    static void imageToMask(const QImage &image, std::vector<bool> &bits, quint32 &width,
                            quint32 &height);
    /// The folder mask choosers start in, shared by the whole program.
    static QString rememberedPath();
    /// Whether a mask file name is a GDSII layout (by its extension).
    static bool isLayoutFile(const QString &fileName);

public Q_SLOTS:
    /// OK applies a mask file that was chosen but not applied yet (as Apply would), and asks
    /// before a positive resist is developed away without any mask.
    void accept() override;

    void on_tbtTopMask_clicked();
    void on_tbtBottomMask_clicked();
    void on_btnApplyTopMask_clicked();
    void on_btnApplyBottomMask_clicked();
    void on_btnRemoveTopMask_clicked();
    void on_btnRemoveBottomMask_clicked();

private:
    enum SideIndex
    {
        Top,
        Bottom
    };
    /// One mask: its widgets and what was applied.
    struct Side
    {
        QLineEdit *file = nullptr;
        QWidget *layoutFields = nullptr;
        QComboBox *cell = nullptr;
        QComboBox *layer = nullptr;
        QDoubleSpinBox *scale = nullptr;
        QDoubleSpinBox *offsetX = nullptr;
        QDoubleSpinBox *offsetY = nullptr;
        const char *notFound = "";
        QString fileName;
        // The mask's fields at the last Apply or Remove: a difference is a choice that OK still
        // has to apply.
        QString settled;
        std::vector<bool> bits;
        quint32 width = 0;
        quint32 height = 0;
        bool hasLayout = false;
        Core::Operations::LayoutFile::Choice layout;
        // The layout last read, so that changing cell or layer does not read the file again.
        QString readFile;
        Core::Operations::LayoutMask::Layout read;
        MaskSink sink;
    };

    static QString imageFile(const Side &side)
    {
        return side.bits.empty() || side.hasLayout ? QString() : side.fileName;
    }
    QString chooseMaskFile();
    void chooseFor(Side &side);
    /// Text standing for everything the user set for a mask.
    QString fields(const Side &side) const;
    /// Enables the layout fields when the file is a layout.
    void showLayoutFields(Side &side);
    /// Reads the layout file into side.read (unless it was read last, or again is set) and fills
    /// the cell and layer lists; false after telling the user why not.
    bool readLayout(Side &side, const QString &fileName, bool again = false);
    /// Loads a mask file into bits, width and height; on failure tells the user why
    /// (notFound when there is no image to read) and changes nothing.
    bool loadMask(const QString &fileName, const char *notFound, std::vector<bool> &bits,
                  quint32 &width, quint32 &height);
    bool applyLayout(Side &side);
    bool apply(Side &side);
    void remove(Side &side);
    void refuse(const QString &fileName, const QString &reason);

    Ui::PhotolithographyDialogForm *ui;
    Side sides[2];
    quint64 footprint;
    quint32 gridX;
    quint32 gridY;
};

} // namespace Operations
} // namespace Ui

#endif
