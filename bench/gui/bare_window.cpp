// The floor the GUI's start is measured against: a bare Qt 6 main window of
// the GUI's size, with nothing in it. Built and run by bench/gui_start.sh.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(1121, 780);
  window.show();
  return app.exec();
}
