#pragma once
// The preview area of the operations panel (pnlpreview): shows the last picture the engine
// delivered while it converts, scaled to fit with its aspect kept, on black. Main thread only.
#include <QFrame>
#include <QImage>

#include <cstdint>
#include <vector>

namespace pellucor::app {

class PreviewPanel : public QFrame {
    Q_OBJECT
public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    // rgb: width * height RGB24 pixels, rows of width * 3 bytes. A picture whose buffer is too
    // small for its size is ignored.
    void showPicture(int width, int height, const std::vector<std::uint8_t>& rgb);
    void clearPicture();
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace pellucor::app
