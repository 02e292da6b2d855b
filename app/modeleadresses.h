#ifndef MODELEADRESSES_H
#define MODELEADRESSES_H

#include <QStandardItemModel>

// The machine's IPv4 addresses with their interface, loopback left out: what the operator
// gives the sender. At least `lignesMin` rows, so that the table keeps its grid.
QStandardItemModel *modeleAdresses(int lignesMin, QObject *parent);

#endif
