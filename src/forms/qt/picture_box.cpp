#include "picture_box.h"

#include "picture_scale.h"

#include <QPixmap>

namespace quorvel::forms::qt {

PictureBox::PictureBox(const QString& picture, QWidget* parent) : QLabel(parent), picture_(picture) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    UseBitmap(1);
    size_ = pixmap().size();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    UseBitmap(ChoosePicture({size_.width(), size_.height()}, devicePixelRatioF()).variant);
    QLabel::paintEvent(event);
}

// The pictures travel with the program as resources. A bitmap of twice the size has twice the
// pixels to a device-independent pixel, and Qt draws it at the window's scale from there.
void PictureBox::UseBitmap(int variant) {
    if (variant == variant_)
        return;
    variant_ = variant;
    QPixmap bitmap(QStringLiteral(":/quorvel/%1.png")
                       .arg(QString::fromStdString(PictureResource(picture_.toStdString(), variant))));
    bitmap.setDevicePixelRatio(variant);
    setPixmap(bitmap);
}

}  // namespace quorvel::forms::qt
