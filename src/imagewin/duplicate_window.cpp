#include "imagewin/duplicate_window.h"

#include <QPainter>

namespace kalvenor {

FormImageS::FormImageS(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("formImageS");
  setWindowTitle("Image from Original");
}

void FormImageS::setPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void FormImageS::paintEvent(QPaintEvent*) { QPainter(this).drawImage(0, 0, picture_); }

}  // namespace kalvenor
