// A yardstick of the idle benchmark: a bare Qt Widgets window with one panel the size of the
// live spectrum (150 x 41) that a precise timer repaints at the spectrum's block rate (512
// samples at 11,025 Hz, every 46.4 ms) with a column of dots, and does nothing else: no
// sound, no transform. What it costs is what any Qt Widgets window that draws at that rate
// costs on this display, before a single sample is read.

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Panel : public QWidget {
public:
    explicit Panel(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(167, 52, 150, 41);
    }

    void nextFrame() {
        ++m_frame;
        repaint();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::green);
        // A column per x, of a height that changes from frame to frame, drawn dot by dot.
        for (int x = 0; x < width(); ++x) {
            const int top = height() - 1 - (x * 7 + m_frame * 13) % height();
            for (int y = height() - 1; y >= top; y -= 2)
                painter.drawPoint(x, y);
        }
    }

private:
    int m_frame = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(617, 318);
    auto* panel = new Panel(&window);
    window.show();
    QTimer frames;
    frames.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frames, &QTimer::timeout, panel, &Panel::nextFrame);
    frames.start(1000 * 512 / 11025);
    return QApplication::exec();
}
