#ifndef DEMARRAGE_H
#define DEMARRAGE_H

class QApplication;

// Everything main() does once the application object exists: the single-instance guard,
// the data folder, the control window and the event loop. Returns the exit code.
int lancerStation(QApplication &application);

#endif
