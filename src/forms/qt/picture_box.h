#pragma once

#include <QLabel>
#include <QString>

namespace quorvel::forms::qt {

// A picture box: the picture its layout names, drawn from the top-left corner and cut off at the
// box's edges, at its 96-dpi size in device-independent pixels. Of the picture's bitmaps it shows
// the one for the window's device pixel ratio, chosen again whenever it paints, so that a window
// moved to a screen of another scale shows the picture as sharp as its text.
class PictureBox : public QLabel {
public:
    PictureBox(const QString& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UseBitmap(int variant);

    QString picture_;
    QSize size_;  // at 96 dpi
    int variant_ = 0;
};

}  // namespace quorvel::forms::qt
