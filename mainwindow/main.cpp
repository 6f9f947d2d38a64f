// tavoro: the editor. Starts with the splash window, whose load loads and shows the main window;
// ends when the main window closes.
//
//   tavoro [/b]         "/b" (or "/B") as the whole command line writes the start-up trace
//                       tavoro.dbg into the home directory.
//
// TAVORO_SCREENSHOT=FILE saves a picture of the main window into FILE once the start-up is over,
// prints the link state, the page's object and the bank shown in the status bar, and ends the
// program (for headless checks). A
// message box shown before that is pictured instead, with what else is on the screen, and the
// program ends without waiting for an answer.
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "platform/ui/message_box.h"

namespace {

std::string CommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

struct Screenshot {
  std::string path;
  bool taken = false;
  int rc = 0;
};

bool Save(const QPixmap& picture, const std::string& path) {
  return !picture.isNull() && picture.save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

// Saves the main window's picture and ends the event loop (exit code 4 when the file was not
// written).
void ScreenshotAndQuit(tavoro::App& app, Screenshot& shot) {
  tavoro::frmMain& window = app.main();
  if (!shot.taken) {
    window.repaint();
    const bool saved = Save(window.grab(), shot.path);
    const std::string state = window.stbMainForm->Panels(8).Text();
    // What the picture shows of the instrument: the page's object and the bank.
    const std::string shown = window.lblObjNumHash->Caption() + " " + window.txtObjectNum->Text() + " " +
                              window.txtObjectName->Text() + "; " + window.stbMainForm->Panels(7).Text();
    std::printf("tavoro: screenshot %s: %s; link %s; %s\n", shot.path.c_str(), saved ? "saved" : "NOT saved",
                state.c_str(), shown.c_str());
    std::fflush(stdout);
    shot.taken = true;
    shot.rc = saved ? 0 : 4;
  }
  window.close();
  QCoreApplication::exit(shot.rc);
}

// A box in a headless run: the first is pictured once drawn, with the screen behind it, and
// every box is then closed as Escape closes it.
void ScreenshotOfBox(Screenshot& shot, QMessageBox& box, const plat::BoxRequest& request) {
  if (shot.taken) {
    std::fprintf(stderr, "tavoro: message box closed unanswered: %s\n", request.text.c_str());
    box.reject();
    return;
  }
  QTimer::singleShot(500, &box, [&shot, &box, text = request.text] {
    QPixmap picture;
    if (QScreen* screen = box.screen()) picture = screen->grabWindow(0);
    if (picture.isNull()) picture = box.grab();
    const bool saved = Save(picture, shot.path);
    std::printf("tavoro: screenshot %s: %s; message box: %s\n", shot.path.c_str(), saved ? "saved" : "NOT saved",
                text.c_str());
    std::fflush(stdout);
    shot.taken = true;
    shot.rc = saved ? 0 : 4;
    box.reject();
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Tavoro");
  QApplication::setApplicationDisplayName("Tavoro");

  Screenshot shot;
  if (const char* path = std::getenv("TAVORO_SCREENSHOT"); path != nullptr && *path != '\0') {
    shot.path = path;
    plat::SetMessageBoxShownHook(
        [&shot](QMessageBox& box, const plat::BoxRequest& request) { ScreenshotOfBox(shot, box, request); });
  }

  int rc = 0;
  {
    tavoro::App app(CommandLine(argc, argv));
    rc = app.Start();
    if (rc != 0) return rc;
    if (shot.taken) {  // a box stood in the start-up's way: it has been pictured
      app.main().close();
      return shot.rc;
    }
    app.onMainUnloaded = [] { QCoreApplication::quit(); };
    if (!shot.path.empty()) QTimer::singleShot(500, &app.main(), [&app, &shot] { ScreenshotAndQuit(app, shot); });
    rc = qapp.exec();
  }
  plat::SetMessageBoxShownHook(nullptr);
  return rc;
}
