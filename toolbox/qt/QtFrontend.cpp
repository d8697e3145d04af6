#include "QtFrontend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "../TextUtils.h"
#include "../internal/EventQueue.h"
#include "../internal/WidgetControls.h"
#include "DesktopWidget.h"

namespace tb {

namespace {

constexpr int kMenuBarHeight = 22;

Frontend* gFrontend = nullptr;
QtFrontend* gQtFrontend = nullptr;
int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
  char byte = 1;
  [[maybe_unused]] ssize_t n = write(gSignalPipe[1], &byte, 1);
}

// The application window: closing it is a quit request.
class MainWindow : public QMainWindow {
 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    requestQuit();
  }
};

// Presses in the menu bar go to the program first, as mouse-downs in the
// menu bar; MenuSelect then opens the menu.
class MenuBarFilter : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) postMouse(int(InputKind::MouseDown), e->position().toPoint(), e->modifiers());
        return true;
      }
      case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) postMouse(int(InputKind::MouseUp), e->position().toPoint(), e->modifiers());
        return true;
      }
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
        return event->type() == QEvent::ShortcutOverride;  // no Alt navigation of our own
      default:
        return false;
    }
  }
};

QCursor zoomCursor(bool zoomIn) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 4));
  p.drawEllipse(QRectF(2, 2, 14, 14));
  p.drawLine(QPointF(14, 14), QPointF(21, 21));
  p.setPen(QPen(Qt::black, 2));
  p.drawEllipse(QRectF(2, 2, 14, 14));
  p.drawLine(QPointF(14, 14), QPointF(21, 21));
  p.drawLine(QPointF(6, 9), QPointF(12, 9));
  if (zoomIn) p.drawLine(QPointF(9, 6), QPointF(9, 12));
  return QCursor(pixmap, 9, 9);
}

}  // namespace

Frontend& frontend() { return *gFrontend; }
void setFrontend(Frontend* frontEnd) { gFrontend = frontEnd; }
QtFrontend* qtFrontend() { return gQtFrontend; }

QtFrontend::QtFrontend(const LaunchOptions& options) : window_(new MainWindow) {
  window_->setWindowTitle("Vantor");
  menuBar_ = new QMenuBar;
  menuBar_->setNativeMenuBar(false);
  menuBar_->setFixedHeight(kMenuBarHeight);
  menuBar_->installEventFilter(new MenuBarFilter);
  window_->setMenuBar(menuBar_);
  desktop_ = new DesktopWidget(kMenuBarHeight);
  window_->setCentralWidget(desktop_);
  window_->resize(options.desktopWidth, options.desktopHeight);
  desktop_->setFixedSize(options.desktopWidth, options.desktopHeight - kMenuBarHeight);
  window_->show();
  desktop_->setFocus();
  // The application losing and gaining the focus are suspend and resume;
  // the focus moving to one of its own alerts or menus is neither.
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive && state != Qt::ApplicationInactive) return;
    RawInput in;
    in.kind = state == Qt::ApplicationActive ? InputKind::Resume : InputKind::Suspend;
    postInput(in);
  });
}

QtFrontend::~QtFrontend() = default;

int QtFrontend::desktopWidth() const { return desktop_->width(); }
int QtFrontend::desktopHeight() const { return desktop_->height() + kMenuBarHeight; }
int QtFrontend::menuBarHeight() const { return kMenuBarHeight; }

void QtFrontend::pump(int timeoutMs) {
  if (timeoutMs <= 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(timeoutMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtFrontend::desktopChanged() {
  syncWidgetControls();  // widgets over windows follow them
  desktop_->update();
}

void QtFrontend::setCursor(CursorShape shape) {
  cursor_ = shape;
  switch (shape) {
    case CursorShape::Arrow: desktop_->setCursor(Qt::ArrowCursor); break;
    case CursorShape::IBeam: desktop_->setCursor(Qt::IBeamCursor); break;
    case CursorShape::Cross: desktop_->setCursor(Qt::CrossCursor); break;
    case CursorShape::Watch: desktop_->setCursor(Qt::WaitCursor); break;
    case CursorShape::ZoomIn: desktop_->setCursor(zoomCursor(true)); break;
    case CursorShape::ZoomOut: desktop_->setCursor(zoomCursor(false)); break;
  }
}

void QtFrontend::setMenuBar(const std::vector<MenuModel>& menus) {
  menuBar_->clear();
  titles_.clear();
  for (const MenuModel& menu : menus) {
    titles_.push_back(menuBar_->addAction(QString::fromStdString(macRomanToUtf8(menu.title))));
  }
}

int QtFrontend::menuAt(Point where) const {
  for (size_t i = 0; i < titles_.size(); ++i) {
    if (menuBar_->actionGeometry(titles_[i]).contains(QPoint(where.h, where.v))) return int(i);
  }
  return -1;
}

void QtFrontend::openMenu(int index, const MenuModel& model) {
  if (menu_) menu_->deleteLater();
  menu_ = new QMenu(window_.get());
  menuChoice_ = 0;
  menuOpen_ = true;
  openMenuIndex_ = index;
  for (size_t i = 0; i < model.items.size(); ++i) {
    const MenuItemModel& item = model.items[i];
    if (item.separator) {
      menu_->addSeparator();
      continue;
    }
    QString text = QString::fromStdString(macRomanToUtf8(item.text));
    if (item.commandKey != 0) text += QString("\tCtrl+") + QChar(item.commandKey);
    QAction* action = menu_->addAction(text);
    action->setData(int(i + 1));
    action->setEnabled(item.enabled);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
  }
  QObject::connect(menu_, &QMenu::triggered, [this](QAction* action) { menuChoice_ = action->data().toInt(); });
  QObject::connect(menu_, &QMenu::aboutToHide, [this]() {
    // The chosen action fires after the menu hides: close afterwards.
    QTimer::singleShot(0, [this]() { menuOpen_ = false; });
  });
  QRect title = menuBar_->actionGeometry(titles_[size_t(index)]);
  menu_->popup(menuBar_->mapToGlobal(title.bottomLeft()));
}

Point QtFrontend::menuTitleCenter(int index) const {
  if (index < 0 || size_t(index) >= titles_.size()) return Point{0, 0};
  QPoint c = menuBar_->actionGeometry(titles_[size_t(index)]).center();
  return Point{short(c.y()), short(c.x())};
}

void QtFrontend::highlightMenu(int index) {
  menuBar_->setActiveAction(index >= 0 && size_t(index) < titles_.size() ? titles_[size_t(index)] : nullptr);
}

void QtFrontend::openAlert(const AlertRequest& request) {
  QMessageBox::Icon icon = request.type == 0   ? QMessageBox::Critical
                           : request.type == 2 ? QMessageBox::Warning
                                               : QMessageBox::Information;
  alert_ = new QMessageBox(icon, "Vantor", QString::fromStdString(request.message), QMessageBox::Ok, window_.get());
  if (!request.explanation.empty()) alert_->setInformativeText(QString::fromStdString(request.explanation));
  if (request.cancelButton) alert_->addButton(QMessageBox::Cancel);
  alert_->setDefaultButton(QMessageBox::Ok);
  alert_->setWindowModality(Qt::ApplicationModal);
  alert_->setAttribute(Qt::WA_DeleteOnClose);
  alertOpen_ = true;
  alertChoice_ = 0;
  QMessageBox* box = alert_;
  QObject::connect(box, &QMessageBox::finished, [this, box](int) {
    alertChoice_ = box->clickedButton() == box->button(QMessageBox::Cancel) ? 2 : 1;
    alertOpen_ = false;
  });
  alert_->open();
}

void QtFrontend::beep() {
  ++beeps_;
  QApplication::beep();
}

QImage QtFrontend::grabScreen() {
  QCoreApplication::processEvents();
  return window_->grab().toImage();
}

bool QtFrontend::clickMenuItem(int item) {
  if (!menu_ || !menuOpen_) return false;
  for (QAction* action : menu_->actions()) {
    if (action->data().toInt() == item && action->isEnabled()) {
      QPoint at = menu_->actionGeometry(action).center();
      QMouseEvent press(QEvent::MouseButtonPress, at, menu_->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QMouseEvent release(QEvent::MouseButtonRelease, at, menu_->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                          Qt::NoModifier);
      QCoreApplication::sendEvent(menu_, &press);
      QCoreApplication::sendEvent(menu_, &release);
      return true;
    }
  }
  menu_->hide();  // a person presses Escape when the item is not there
  return false;
}

bool QtFrontend::pressAlertButton(int which) {
  if (!alert_ || !alertOpen_) return false;
  QAbstractButton* button = alert_->button(which == 2 ? QMessageBox::Cancel : QMessageBox::Ok);
  if (button == nullptr) return false;
  button->click();
  return true;
}

std::string QtFrontend::alertMessage() const { return alert_ ? alert_->text().toStdString() : std::string(); }

void startQtFrontend(int& argc, char** argv, const LaunchOptions& options) {
  static QApplication* app = nullptr;
  if (app == nullptr) {
    app = new QApplication(argc, argv);
    QApplication::setApplicationName("Vantor");
  }
  gQtFrontend = new QtFrontend(options);
  setFrontend(gQtFrontend);
  // SIGTERM and SIGINT become quit requests, delivered through the toolkit's loop.
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) == 0) {
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [](QSocketDescriptor, QSocketNotifier::Type) {
      char byte;
      [[maybe_unused]] ssize_t n = read(gSignalPipe[0], &byte, 1);
      requestQuit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
  }
  QCoreApplication::processEvents();
}

}  // namespace tb
