#ifndef CELVANE_UI_OPERATIONS_PHOTOLITHOGRAPHYDIALOG_H
#define CELVANE_UI_OPERATIONS_PHOTOLITHOGRAPHYDIALOG_H

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace Ui {
class PhotolithographyDialogForm;
}

namespace Ui {
namespace Operations {

/// Top and bottom mask images and the film of a photolithography step. Applied masks are
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
    void setTopMaskSink(const MaskSink &sink) { topSink = sink; }
    void setBottomMaskSink(const MaskSink &sink) { bottomSink = sink; }
    /// Columns of the volume the masks are for (cellsX * cellsY): bounds the size of a mask.
    void setVolumeFootprint(quint64 columns) { footprint = columns; }

    quint32 getMaterialId() const;
    const std::vector<bool> &getTopMask() const { return topBits; }
    quint32 getTopMaskWidth() const { return topWidth; }
    quint32 getTopMaskHeight() const { return topHeight; }
    const std::vector<bool> &getBottomMask() const { return bottomBits; }
    quint32 getBottomMaskWidth() const { return bottomWidth; }
    quint32 getBottomMaskHeight() const { return bottomHeight; }
    /// The image files the masks were read from; empty when no mask is applied.
    QString getTopMaskFile() const { return topBits.empty() ? QString() : topFileName; }
    QString getBottomMaskFile() const { return bottomBits.empty() ? QString() : bottomFileName; }

    /// Bit (x, y) = x * height + y; the image's bottom row is y = 0; pure black and pure red
    /// pixels are opaque (1), every other colour is clear.
    static void imageToMask(const QImage &image, std::vector<bool> &bits, quint32 &width,
                            quint32 &height);
    /// The folder mask choosers start in, shared by the whole program.
    static QString rememberedPath();

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
    QString chooseMaskFile();
    /// Loads a mask file into bits, width and height; on failure tells the user why
    /// (notFound when there is no image to read) and changes nothing.
    bool loadMask(const QString &fileName, const char *notFound, std::vector<bool> &bits,
                  quint32 &width, quint32 &height);
    bool applyTopMask();
    bool applyBottomMask();

    Ui::PhotolithographyDialogForm *ui;
    QString topFileName;
    QString bottomFileName;
    // The line edits' texts at the last Apply or Remove: a different text is a choice that OK
    // still has to apply.
    QString topSettled;
    QString bottomSettled;
    std::vector<bool> topBits;
    quint32 topWidth;
    quint32 topHeight;
    std::vector<bool> bottomBits;
    quint32 bottomWidth;
    quint32 bottomHeight;
    MaskSink topSink;
    MaskSink bottomSink;
    quint64 footprint;
};

} // namespace Operations
} // namespace Ui

#endif
