#include "windows/tableau.h"

#include <QFont>
#include <QHeaderView>
#include <QTableView>

void poserModeleTable(QTableView *table, QAbstractItemModel *modele)
{
    table->setModel(modele);
    QFont fonte = table->font();
    fonte.setPointSize(11);
    fonte.setWeight(QFont::Bold);
    table->setFont(fonte);
    table->horizontalHeader()->setFont(fonte);
}
