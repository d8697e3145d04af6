// The colour picker of the Qt front end: Qt's own colour dialog, never the
// platform's native one, so that it looks and answers the same everywhere.
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "QtFrontend.h"

namespace tb {

namespace {

QColor toQColor16(const RGBColor& c) { return QColor::fromRgba64(c.red, c.green, c.blue); }

RGBColor toRGBColor(const QColor& c) {
  const QRgba64 rgba = c.rgba64();
  return RGBColor{rgba.red(), rgba.green(), rgba.blue()};
}

}  // namespace

void QtFrontend::openColorPicker(const ColorRequest& request) {
  if (colorDialog_) colorDialog_->deleteLater();
  colorRequest_ = request;
  colorAccepted_ = false;
  colorOpen_ = true;
  auto* dialog = new QColorDialog(window_.get());
  dialog->setOption(QColorDialog::DontUseNativeDialog);
  dialog->setWindowTitle(QString::fromStdString(request.prompt));
  dialog->setCurrentColor(toQColor16(request.color));
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  colorDialog_ = dialog;
  QObject::connect(dialog, &QColorDialog::finished, [this, dialog](int result) {
    colorAccepted_ = result == QDialog::Accepted;
    if (colorAccepted_) {
      const QColor selected = dialog->selectedColor();
      // The dialog keeps 8 bits per channel: the preset confirmed unchanged
      // goes back with its 16 bits.
      colorChosen_ = selected.rgb() == toQColor16(colorRequest_.color).rgb() ? colorRequest_.color
                                                                             : toRGBColor(selected);
    }
    colorOpen_ = false;
  });
  dialog->open();
}

bool QtFrontend::colorPickerChoice(RGBColor& chosen) const {
  if (colorOpen_ || !colorAccepted_) return false;
  chosen = colorChosen_;
  return true;
}

bool QtFrontend::answerColorPicker(const RGBColor* color) {
  if (!colorDialog_ || !colorOpen_) return false;
  auto* buttons = colorDialog_->findChild<QDialogButtonBox*>();
  QPushButton* button =
      buttons != nullptr ? buttons->button(color != nullptr ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                         : nullptr;
  if (color != nullptr) colorDialog_->setCurrentColor(toQColor16(*color));
  if (button != nullptr) {
    button->click();  // as a person confirms or cancels
  } else if (color != nullptr) {
    colorDialog_->accept();
  } else {
    colorDialog_->reject();
  }
  return true;
}

std::string QtFrontend::colorPickerPrompt() const {
  return colorDialog_ && colorOpen_ ? colorDialog_->windowTitle().toStdString() : std::string();
}

RGBColor QtFrontend::colorPickerColor() const {
  return colorDialog_ && colorOpen_ ? toRGBColor(colorDialog_->currentColor()) : RGBColor{0, 0, 0};
}

}  // namespace tb
