#ifndef DEMARRAGE_H
#define DEMARRAGE_H

#include <QStringList>

class QCoreApplication;
struct OptionsStation;

// Before the application object: window places are logical pixels on Qt 5 as on Qt 6,
// which always scales to the screen, at its exact factor (125 %, 150 %).
void preparerEchelle();

// True when the command line asks only for the page's files (--exporter-page): that needs
// no screen, so main() makes a QCoreApplication, as the relay's server may have none.
bool exportSeul(int argc, char *argv[]);

// True when the command line asks for the spectators' poster (--affiche). Its fonts need a
// QGuiApplication but no screen: this sets the offscreen platform, unless one is set, before
// main() makes it.
bool afficheSeule(int argc, char *argv[]);

// False when Qt's default platform could reach no screen: no X server, no Wayland, no
// platform named in QT_QPA_PLATFORM or by -platform or -display. Always true on Windows.
bool ecranJoignable(int argc, char *argv[]);

// Everything main() does once the application object exists: the single-instance guard,
// the data folder, the control window and the event loop (a QApplication), or the page's
// files or the poster written. The arguments are the command line's, program name first.
// Returns the exit code.
int lancerStation(QCoreApplication &application, const QStringList &arguments);

// Writes the page's files into `dossier`, created if needed, and lists them on the standard
// output. 0, or 2 with the reason on the error output.
int exporterPage(const QString &dossier);

// Writes the spectators' poster (--affiche) from the settings file, the command line's page
// port and relay over the file's, and names it on the standard output. 0, or 2 with the
// reason on the error output.
int ecrireAfficheSeule(const OptionsStation &options);

#endif
