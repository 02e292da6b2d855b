#include "windows/tableau.h"

#include "windows/apparence.h"

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

void habillerTable(QTableView *table, const QColor &fondEnTete)
{
    if (table->styleSheet() == Apparence::styleGrilleTable)
        return;
    table->setStyleSheet(Apparence::styleGrilleTable);
    QHeaderView *entete = table->horizontalHeader();
    QPalette palette = entete->palette();
    palette.setColor(QPalette::Button, fondEnTete);
    palette.setColor(QPalette::Window, fondEnTete);
    entete->setPalette(palette);
}
