// tavoro: the editor. Starts with the splash window, whose load loads and shows the main window;
// ends when the main window closes.
//
//   tavoro [/b]         "/b" (or "/B") as the whole command line writes the start-up trace
//                       tavoro.dbg into the home directory.
//
// TAVORO_SCREENSHOT=FILE saves a picture of the main window into FILE once the start-up is over,
// prints the link state shown in the status bar, and ends the program (for headless checks).
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mainwindow/app.h"
#include "mainwindow/main_window.h"

namespace {

std::string CommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

// Saves the main window's picture and ends the event loop; false when the file was not written.
void ScreenshotAndQuit(tavoro::App& app, const std::string& path) {
  tavoro::frmMain& window = app.main();
  window.repaint();
  const bool saved = window.grab().save(QString::fromLocal8Bit(path.c_str()), "PNG");
  const std::string state = window.stbMainForm->Panels(8).Text();
  std::printf("tavoro: screenshot %s: %s; link %s\n", path.c_str(), saved ? "saved" : "NOT saved", state.c_str());
  std::fflush(stdout);
  window.close();
  QCoreApplication::exit(saved ? 0 : 4);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Tavoro");
  QApplication::setApplicationDisplayName("Tavoro");

  int rc = 0;
  {
    tavoro::App app(CommandLine(argc, argv));
    rc = app.Start();
    if (rc != 0) return rc;
    app.onMainUnloaded = [] { QCoreApplication::quit(); };
    if (const char* shot = std::getenv("TAVORO_SCREENSHOT"); shot != nullptr && *shot != '\0') {
      const std::string path = shot;
      QTimer::singleShot(500, &app.main(), [&app, path] { ScreenshotAndQuit(app, path); });
    }
    rc = qapp.exec();
  }
  return rc;
}
