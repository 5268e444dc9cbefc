// The desktop program: one main window; closing it ends the program.
#include <QApplication>
#include <csignal>

#include "MainForm.h"
#include "common/system_error.h"

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);  // an over-large save fails with its message, not the process
#endif
    QApplication app(argc, argv);
    // The title the desktop shows for the program. No display name: Qt would append it to
    // every window caption.
    QApplication::setApplicationName(QLatin1String(quarzel::kApplicationTitle));
    quarzel::TfrmMainForm window;
    window.show();
    return QApplication::exec();
}
