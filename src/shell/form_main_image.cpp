#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "canvas/bitmap_file.h"
#include "canvas/output_files.h"
#include "canvas/vector_pictures.h"
#include "imagewin/duplicate_window.h"
#include "imagewin/form_image.h"
#include "model/message_text.h"
#include "shell/form_main.h"
#include "shell/saved_file_name.h"

namespace kalvenor {
namespace {

// The bitmap first, as it always was. A file is written in the format its extension names, which
// a name typed without one takes from the chosen filter; under every file it is a bitmap.
const QString kPictureFilter = QStringLiteral(
    "ビットマップファイル (*.bmp)|*.bmp|PNG ファイル (*.png)|*.png|SVG ファイル (*.svg)|*.svg|"
    "PDF ファイル (*.pdf)|*.pdf|すべてのファイル (*.*)|*.*");

enum class SavedFormat { Bmp, Png, Svg, Pdf };

SavedFormat savedFormat(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QStringLiteral("png")) return SavedFormat::Png;
  if (suffix == QStringLiteral("svg")) return SavedFormat::Svg;
  if (suffix == QStringLiteral("pdf")) return SavedFormat::Pdf;
  return SavedFormat::Bmp;
}

void putOnClipboard(const QImage& picture) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setImage(picture);
}

}  // namespace

void FormMain::cmdImageClear_Click() { session_.clearPicture(formImage_->canvas()); }

// Copy, duplicate and save take the picture as the window shows it, whether or not it was drawn
// into the persistent image.
void FormMain::cmdImageCopy_Click() { putOnClipboard(formImage_->canvas().shown()); }

// The duplicate travels through the clipboard, which keeps the copy afterwards.
void FormMain::cmdImagePaste_Click() {
  if (!formImageS_) formImageS_ = std::make_unique<FormImageS>();
  formImageS_->show();
  formImageS_->resize(formImage_->size());
  putOnClipboard(formImage_->canvas().shown());
  formImageS_->setPicture(QGuiApplication::clipboard()->image());
}

std::optional<QString> FormMain::askSavePath(const QString& filter) {
  const std::optional<Dialogs::SaveChoice> choice = dialogs_.saveFile(filter, {});
  if (!choice) return std::nullopt;
  const QString path = savedFileName(choice->path, choice->pattern, filter);
  if (!QFileInfo::exists(path)) return path;
  const QString question =
      QDir::toNativeSeparators(path) +
      QStringLiteral(" はすでに存在しています．\r\n既存のファイルに上書きしますか？");
  if (!dialogs_.askYesNo(question)) return std::nullopt;
  return path;
}

void FormMain::cmdImageSave_Click() {
  const std::optional<QString> path = askSavePath(kPictureFilter);
  if (!path) return;
  const QString problem = writePicture(*path);
  if (!problem.isEmpty()) {
    const std::string text =
        fill(translated("The picture could not be saved as {1}: {2}"),
             {QDir::toNativeSeparators(*path).toStdString(), problem.toStdString()});
    dialogs_.message(QString::fromStdString(text), Dialogs::Icon::Warning);
  }
}

// Bitmaps are the picture in the window; SVG and PDF draw the last picture again with the same
// view and options onto a vector canvas of the window's size, unless the window was cleared.
QString FormMain::writePicture(const QString& path) {
  const SavedFormat format = savedFormat(path);
  const ImageCanvas& canvas = formImage_->canvas();
  const QImage& image = canvas.shown();
  if (format == SavedFormat::Bmp) return writeBitmapFile(image, path);
  try {
    const std::string file = path.toStdString();
    if (format == SavedFormat::Png) {
      writeOutputFile(file, encodePicture(image, "png", file));
      return {};
    }
    const VectorFormat vector = format == SavedFormat::Svg ? VectorFormat::Svg : VectorFormat::Pdf;
    writeOutputFile(file, vectorPicture(vector, image.size(), canvas.backgroundColor(), false,
                                        [this, blank = canvas.blank()](Canvas& drawn) {
                                          if (!blank) session_.redrawPicture(drawn);
                                        }));
    return {};
  } catch (const std::exception& error) {
    return QString::fromStdString(error.what());
  }
}

}  // namespace kalvenor
