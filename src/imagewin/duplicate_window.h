#pragma once

#include <QImage>
#include <QWidget>

namespace kalvenor {

// "Image from Original": shows a duplicated picture at its own pixel size in the top-left corner.
class FormImageS : public QWidget {
  Q_OBJECT

 public:
  explicit FormImageS(QWidget* parent = nullptr);

  void setPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace kalvenor
