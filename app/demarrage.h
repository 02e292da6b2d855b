#ifndef DEMARRAGE_H
#define DEMARRAGE_H

#include <QStringList>

class QApplication;

// Before the application object: window places are logical pixels on Qt 5 as on Qt 6,
// which always scales to the screen, at its exact factor (125 %, 150 %).
void preparerEchelle();

// Everything main() does once the application object exists: the single-instance guard,
// the data folder, the control window and the event loop. The arguments are the command
// line's, program name first. Returns the exit code.
int lancerStation(QApplication &application, const QStringList &arguments);

#endif
