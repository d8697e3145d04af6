// The system clipboard of the Qt front end. Qt offers text as UTF-8 and an
// image as PNG (among other formats) to other programs.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "QtFrontend.h"

namespace tb {

void QtFrontend::setClipboard(const std::string* utf8Text, const QImage* image) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (utf8Text == nullptr && image == nullptr) {
    clipboard->clear();
    return;
  }
  auto* data = new QMimeData;
  if (utf8Text != nullptr) data->setText(QString::fromStdString(*utf8Text));
  if (image != nullptr) data->setImageData(*image);
  clipboard->setMimeData(data);  // the clipboard owns it
}

bool QtFrontend::clipboardText(std::string& utf8) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return false;
  utf8 = data->text().toStdString();
  return true;
}

QImage QtFrontend::clipboardImage() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasImage()) return QImage();
  return qvariant_cast<QImage>(data->imageData());
}

}  // namespace tb
