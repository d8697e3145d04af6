// The desktop: paints the layer's windows back to front with their frames
// and turns mouse and keyboard input into the layer's raw input.
#pragma once

#include <QWidget>

namespace tb {

class DesktopWidget : public QWidget {
  Q_OBJECT
 public:
  DesktopWidget(int menuBarHeight, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; }  // Tab is a key like any other

 private:
  int menuBarHeight_;
};

void postMouse(int kind, QPoint globalPoint, Qt::KeyboardModifiers modifiers);
void postKey(QKeyEvent* event, bool down);

}  // namespace tb
