// The desktop program: one main window; closing it ends the program.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <csignal>

#include "MainForm.h"
#include "common/system_error.h"
#include "qt_text.h"

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);  // an over-large save fails with its message, not the process
#endif
    QApplication app(argc, argv);
    // The title the desktop shows for the program. No display name: Qt would append it to
    // every window caption.
    QApplication::setApplicationName(QLatin1String(quarzel::kApplicationTitle));

    // The program speaks German whatever the system's language: Qt's own texts (file
    // dialogs, context menus, the buttons of its boxes) come from its German translation
    // where one is installed. The HTML export's date keeps the user's own format
    // (QLocale::system()).
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtGerman);
    }

    quarzel::TfrmMainForm window;
    // The work is kept in the user's data folder ("~/.local/share/Quarzel 3" on Linux,
    // "%APPDATA%\Quarzel 3" on Windows), safe from a crash until the window ends cleanly.
    const QString keptWorkFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!keptWorkFolder.isEmpty()) {
        window.keepWorkIn(quarzel::pathFromQString(keptWorkFolder));
    }
    window.show();
    return QApplication::exec();
}
