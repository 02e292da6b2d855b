#ifndef TABLEAU_H
#define TABLEAU_H

class QAbstractItemModel;
class QTableView;

// Gives a table window its model, with the 11 point bold font that its header keeps
// whatever size is later chosen for the rows.
void poserModeleTable(QTableView *table, QAbstractItemModel *modele);

#endif
