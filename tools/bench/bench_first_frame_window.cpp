// qv-bench-first-frame: the least a frameless, translucent Qt window needs to show its first
// frame: one top-level widget of the installer's main window size whose paint renders a
// premultiplied ARGB surface and draws it. The start-up benchmark compares the installer's time
// to its first painted frame with this program's. It runs until it is terminated.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

constexpr int kWidth = 584;
constexpr int kHeight = 410;

class FirstFrameWindow : public QWidget {
 public:
  FirstFrameWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(kWidth, kHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage surface(size(), QImage::Format_ARGB32_Premultiplied);
    surface.fill(QColor(32, 48, 80, 224));
    QPainter window(this);
    window.setCompositionMode(QPainter::CompositionMode_Source);
    window.drawImage(0, 0, surface);
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication application(argc, argv);
  FirstFrameWindow window;
  window.show();
  return QApplication::exec();
}
