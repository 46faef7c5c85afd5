#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "canvas/bitmap_file.h"
#include "imagewin/form_image.h"
#include "imagewin/form_image_s.h"
#include "shell/form_main.h"

namespace kalvenor {
namespace {

const QString kBitmapFilter =
    QStringLiteral("ビットマップファイル (*.bmp)|*.bmp|すべてのファイル (*.*)|*.*");

void putOnClipboard(const QImage& picture) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setImage(picture);
}

}  // namespace

void FormMain::cmdImageClear_Click() { formImage_->canvas().clear(); }

void FormMain::cmdImageCopy_Click() { putOnClipboard(formImage_->canvas().image()); }

// The duplicate travels through the clipboard, which keeps the copy afterwards.
void FormMain::cmdImagePaste_Click() {
  if (!formImageS_) formImageS_ = std::make_unique<FormImageS>();
  formImageS_->show();
  formImageS_->resize(formImage_->size());
  putOnClipboard(formImage_->canvas().image());
  formImageS_->setPicture(QGuiApplication::clipboard()->image());
}

void FormMain::cmdImageSave_Click() {
  const std::optional<QString> path = dialogs_.saveFile(kBitmapFilter, {});
  if (!path) return;
  if (QFileInfo::exists(*path)) {
    const QString question =
        QDir::toNativeSeparators(*path) +
        QStringLiteral(" はすでに存在しています．\r\n既存のファイルに上書きしますか？");
    if (!dialogs_.askYesNo(question)) return;
  }
  const QString problem = writeBitmapFile(formImage_->canvas().image(), *path);
  if (!problem.isEmpty()) {
    dialogs_.message(QStringLiteral("The picture could not be saved as %1: %2")
                         .arg(QDir::toNativeSeparators(*path), problem),
                     Dialogs::Icon::Warning);
  }
}

}  // namespace kalvenor
