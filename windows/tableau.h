#ifndef TABLEAU_H
#define TABLEAU_H

class QAbstractItemModel;
class QColor;
class QTableView;

// Gives a table window its model, with the 11 point bold font that its header keeps
// whatever size is later chosen for the rows.
void poserModeleTable(QTableView *table, QAbstractItemModel *modele);

// Gray grid and the header on `fondEnTete`, once: the table is first drawn without them.
void habillerTable(QTableView *table, const QColor &fondEnTete);

#endif
